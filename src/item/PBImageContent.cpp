#include "item/PBImageContent.h"

#include "platform/PasteboardTypes.h"
#include "support/StringAdditions.h"

#include <QBuffer>
#include <QImage>
#include <QPdfDocument>
#include <QPixmap>

namespace {
// The first page of a PDF at its size in points, or a null image.
QImage firstPdfPage(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QPdfDocument document;
    document.load(&buffer);
    if (document.status() != QPdfDocument::Status::Ready || document.pageCount() < 1)
        return {};
    const QSize size = document.pagePointSize(0).toSize();
    return size.isEmpty() ? QImage() : document.render(0, size);
}
} // namespace

const QStringList& PBImageContent::supportPasteboardTypes()
{
    static const QStringList types = {PasteboardTypes::pdf, PasteboardTypes::tiff,
                                      PasteboardTypes::png};
    return types;
}

QString PBImageContent::computeDesc()
{
    const auto& payloads = dataArray();
    const qint64 bytes = payloads && !payloads->isEmpty() ? payloads->first().size() : 0;
    return descriptionFor(iconSize(), bytes);
}

QString PBImageContent::descriptionFor(const QSize& size, qint64 bytes)
{
    return QStringLiteral("%1×%2 \n%3")
        .arg(size.width())
        .arg(size.height())
        .arg(StringAdditions::stringWithSize(bytes));
}

// The picture itself, at the size its data gives; a PDF shows its first page at the page's size.
// Data that decodes to nothing leaves the icon to the fallback.
void PBImageContent::computeIcon(QIcon& icon, QSize& size)
{
    const auto& payloads = dataArray();
    if (!payloads || payloads->isEmpty())
        return;
    const bool pdf = pasteboardTypes().value(0) == PasteboardTypes::pdf;
    const QImage image =
        pdf ? firstPdfPage(payloads->first()) : QImage::fromData(payloads->first());
    if (image.isNull())
        return;
    icon = QIcon(QPixmap::fromImage(image));
    size = image.deviceIndependentSize().toSize();
}
