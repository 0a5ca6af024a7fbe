#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <memory>

class QPdfDocument;
class QTextDocument;

// What the preview's worker made ready for one file, handed to the GUI thread to show.
struct PreparedPreview
{
    enum class Kind { Text, Image, Pdf, FileInfo };

    Kind kind = Kind::FileInfo;
    // Text: laid out off the GUI thread and already moved to it.
    std::shared_ptr<QTextDocument> document;
    // Pdf: opened off the GUI thread and already moved to it.
    std::shared_ptr<QPdfDocument> pdf;
    // Image: decoded at the size it is shown at, and the picture's own size.
    QImage image;
    QSize fullSize;
    // FileInfo: the file's facts; size is -1 for a folder or a missing file.
    QString path;
    QString name;
    QString typeName;
    QString iconName;
    qint64 size = -1;
};
