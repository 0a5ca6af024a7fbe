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

    // The most of a file a preview reads: the preview is a glance, and laying out hundreds of
    // megabytes would hold memory and time for nothing. A copy-back larger than this is read off
    // the GUI thread too.
    static constexpr qint64 previewBytes = 4 * 1024 * 1024;
    // Plain text is cut after this many lines as well: each line is a paragraph of the shown
    // document, laid out and kept with a layout of its own, so the memory it takes goes with the
    // lines more than with the bytes (4 MB of short lines would hold some 40 MB).
    static constexpr int previewLines = 20'000;
    // The line under a text cut at `shown` bytes of `size`.
    static QString cutNote(qint64 shown, qint64 size);

    // A text item's first payload as a document, at most its first previewBytes (and for plain
    // text previewLines) with the cut note under them: RTF through RtfReader, HTML and plain text
    // through QTextDocument, `firstType` (the item's first pasteboard type) telling HTML from plain
    // text. Null when the file cannot be read or holds nothing the preview reads (flat RTFD, an RTF
    // type over other bytes): the caller then falls back to the document preview.
    static std::shared_ptr<QTextDocument> formattedText(const QString& path,
                                                        const QString& firstType);

    // How the document preview shows the file at `path`: a PDF, a picture decoded to fit within
    // `fit` device pixels (never larger than it is), a text file as text, anything else its
    // facts.
    static PreparedPreview document(const QString& path, QSize fit);
    // The facts of the file at `path`: name, size, type and icon name.
    static PreparedPreview fileInfo(const QString& path);

private:
    template <class Document>
    static std::shared_ptr<Document> handOver(std::unique_ptr<Document> document);
    static PreparedPreview pdf(const QString& path);
    static PreparedPreview image(const QString& path, QSize fit);
    static PreparedPreview textFile(const QString& path);
};
