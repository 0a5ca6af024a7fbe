#pragma once

// Items and payload files for the preview tests: real files in a temporary folder.
#include "item/PBFileContent.h"
#include "item/PBImageContent.h"
#include "item/PBTextContent.h"
#include "item/PBURLContent.h"
#include "platform/PasteboardTypes.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QUrl>

namespace PreviewItems {
inline QString writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

inline QString writeImage(const QString& path, QSize size, const char* format)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QPainter(&image).fillRect(QRect(QPoint(0, 0), size / 2), Qt::yellow);
    if (!image.save(path, format))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

inline QString writePdf(const QString& path)
{
    QPdfWriter writer(path);
    QPainter painter(&writer);
    painter.drawText(QPointF(100, 100), QStringLiteral("A page"));
    return path;
}

template <class T> PBContentPtr itemWithPayloadFile(const QString& type, const QString& path)
{
    auto item = PBContent::createInstance<T>();
    item->setPasteboardTypes({type});
    item->setDataPathArray(QStringList{path});
    return item;
}

inline PBContentPtr textItem(const QString& type, const QString& path)
{
    return itemWithPayloadFile<PBTextContent>(type, path);
}

inline PBContentPtr imageItem(const QString& type, const QString& path)
{
    return itemWithPayloadFile<PBImageContent>(type, path);
}

inline PBContentPtr fileItem(const QString& path)
{
    auto item = PBContent::createInstance<PBFileContent>();
    item->setPasteboardTypes({PasteboardTypes::fileUrl});
    item->setDataArray({QUrl::fromLocalFile(path).toEncoded()});
    item->setKeyword(path);
    return item;
}

inline PBContentPtr urlItem(const QString& address)
{
    auto item = PBContent::createInstance<PBURLContent>();
    item->setPasteboardTypes({PasteboardTypes::url});
    item->setDataArray({address.toUtf8()});
    item->setKeyword(address);
    return item;
}
} // namespace PreviewItems
