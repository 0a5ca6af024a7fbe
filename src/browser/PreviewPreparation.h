#pragma once

#include "browser/PreparedPreview.h"

#include <QSize>
#include <QString>
#include <memory>

class QTextDocument;

// The expensive half of a preview: reading, parsing and decoding, done on a pool thread so that
// a megabyte of HTML or a huge picture never stalls the window. Every function runs on any
// thread and touches no widget.
class PreviewPreparation
{
public:
    PreviewPreparation() = delete;

    // A text item's first payload as a document: RTF through RtfReader, HTML and plain text
    // through QTextDocument, `firstType` (the item's first pasteboard type) telling HTML from
    // plain text. Null when the file cannot be read or holds nothing the preview reads (flat
    // RTFD, an RTF type over other bytes): the caller then falls back to the document preview.
    static std::shared_ptr<QTextDocument> formattedText(const QString& path,
                                                        const QString& firstType);

    // How the document preview shows the file at `path`: a PDF, a picture decoded to fit within
    // `fit` device pixels (never larger than it is), a text file as text, anything else its
    // facts.
    static PreparedPreview document(const QString& path, QSize fit);

private:
    static std::shared_ptr<QTextDocument> handOver(QTextDocument* document);
    static PreparedPreview image(const QString& path, QSize fit);
    static PreparedPreview textFile(const QString& path);
    static PreparedPreview fileInfo(const QString& path);
};
