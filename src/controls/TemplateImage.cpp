#include "controls/TemplateImage.h"

#include <QColor>
#include <QIcon>
#include <QIconEngine>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QPixmapCache>

namespace {
// Draws the shape at the device pixels asked for, in the colour of the mode asked for.
class TemplateIconEngine : public QIconEngine
{
public:
    TemplateIconEngine(const QIcon& shape, const QPalette& palette)
        : m_shape(shape), m_normal(TemplateImage::color(palette)),
          m_selected(TemplateImage::color(palette, true)),
          m_disabled(palette.color(QPalette::Disabled, QPalette::Text))
    {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State /*state*/) override
    {
        const qreal ratio = painter->device()->devicePixelRatioF();
        painter->drawPixmap(rect,
                            TemplateImage::pixmap(m_shape, rect.size(), ratio, colorFor(mode)));
    }

    // QIcon asks for device pixels already multiplied by the ratio; it sets the ratio itself.
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State /*state*/) override
    {
        return TemplateImage::pixmap(m_shape, size, 1.0, colorFor(mode));
    }

    QIconEngine* clone() const override { return new TemplateIconEngine(*this); }
    QString key() const override { return QStringLiteral("TemplateIconEngine"); }
    bool isNull() override { return m_shape.isNull(); }

private:
    QColor colorFor(QIcon::Mode mode) const
    {
        switch (mode) {
        case QIcon::Selected:
            return m_selected;
        case QIcon::Disabled:
            return m_disabled;
        case QIcon::Normal:
        case QIcon::Active:
            break;
        }
        return m_normal;
    }

    QIcon m_shape;
    QColor m_normal;
    QColor m_selected;
    QColor m_disabled;
};
} // namespace

QColor TemplateImage::color(const QPalette& palette, bool selected)
{
    return palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
}

QPixmap TemplateImage::pixmap(const QIcon& shape, const QSize& size, qreal devicePixelRatio,
                              const QColor& color)
{
    const QSize pixels = (QSizeF(size) * devicePixelRatio).toSize();
    // Rows paint their icons on every frame; the SVG is rendered once per size and colour.
    const QString key = QStringLiteral("vantrel-template:%1:%2x%3@%4:%5")
                            .arg(shape.cacheKey())
                            .arg(pixels.width())
                            .arg(pixels.height())
                            .arg(devicePixelRatio)
                            .arg(color.rgba());
    QPixmap result;
    if (QPixmapCache::find(key, &result))
        return result;
    result = shape.pixmap(pixels, 1.0);
    if (!result.isNull()) {
        QPainter painter(&result);
        painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        painter.fillRect(result.rect(), color);
    }
    result.setDevicePixelRatio(devicePixelRatio);
    QPixmapCache::insert(key, result);
    return result;
}

QIcon TemplateImage::icon(const QIcon& shape, const QPalette& palette)
{
    return QIcon(new TemplateIconEngine(shape, palette));
}
