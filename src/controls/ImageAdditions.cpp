#include "controls/ImageAdditions.h"

#include "support/Logging.h"

#include <QImage>

QImage ImageAdditions::resize(const QImage& image, const QSize& size)
{
    if (image.isNull()) {
        qCInfo(lcControls, "Invalid Image");
        return image;
    }
    const qreal ratio = image.devicePixelRatio();
    QImage result = image.scaled((QSizeF(size) * ratio).toSize(), Qt::IgnoreAspectRatio,
                                 Qt::SmoothTransformation);
    result.setDevicePixelRatio(ratio);
    return result;
}
