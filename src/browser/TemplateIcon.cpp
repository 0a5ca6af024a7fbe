#include "browser/TemplateIcon.h"

#include <QIcon>
#include <QPainter>
#include <QPixmapCache>

// The resources live in a static library, so they are registered by hand before first use.
static void registerBrowserIcons()
{
    Q_INIT_RESOURCE(browser_icons);
}

QIcon TemplateIcon::shape(const QString& name)
{
    static const bool registered = (registerBrowserIcons(), true);
    Q_UNUSED(registered);
    return QIcon(QStringLiteral(":/icons/%1.svg").arg(name));
}

QPixmap TemplateIcon::pixmap(const QString& name, const QSize& size, const QColor& color, qreal dpr)
{
    const QString key = QStringLiteral("template:%1:%2x%3:%4:%5")
                            .arg(name)
                            .arg(size.width())
                            .arg(size.height())
                            .arg(color.name(QColor::HexArgb))
                            .arg(dpr);
    QPixmap result;
    if (QPixmapCache::find(key, &result))
        return result;
    const QSize pixels = size * dpr;
    QImage image = shape(name).pixmap(pixels).toImage();
    image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(image.rect(), color);
    painter.end();
    result = QPixmap::fromImage(image);
    result.setDevicePixelRatio(dpr);
    QPixmapCache::insert(key, result);
    return result;
}

QIcon TemplateIcon::icon(const QString& name, const QSize& size, const QColor& color, qreal dpr)
{
    return QIcon(pixmap(name, size, color, dpr));
}
