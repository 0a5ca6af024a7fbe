#include "capture/PBImageContent.h"

#include "platform/PasteboardTypes.h"
#include "support/StringAdditions.h"

#include <QImage>
#include <QPixmap>

const QStringList& PBImageContent::supportPasteboardTypes()
{
    static const QStringList types = {PasteboardTypes::pdf, PasteboardTypes::tiff,
                                      PasteboardTypes::png};
    return types;
}

// "640×480 \n19 KB": the icon's size and the first payload's byte count.
QString PBImageContent::computeDesc()
{
    const QSize size = iconSize();
    const auto& payloads = dataArray();
    const qint64 bytes = payloads && !payloads->isEmpty() ? payloads->first().size() : 0;
    return QStringLiteral("%1×%2 \n%3")
        .arg(size.width())
        .arg(size.height())
        .arg(StringAdditions::stringWithSize(bytes));
}

// The picture itself, at the size its data gives. Formats Qt cannot decode (PDF) leave the icon
// to the fallback.
void PBImageContent::computeIcon(QIcon& icon, QSize& size)
{
    const auto& payloads = dataArray();
    if (!payloads || payloads->isEmpty())
        return;
    const QImage image = QImage::fromData(payloads->first());
    if (image.isNull())
        return;
    icon = QIcon(QPixmap::fromImage(image));
    size = image.deviceIndependentSize().toSize();
}
