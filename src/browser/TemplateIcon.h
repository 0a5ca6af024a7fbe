#pragma once

#include <QColor>
#include <QPixmap>
#include <QSize>
#include <QString>

class QIcon;

// The browser's own pictures (":/icons/<name>.svg"), drawn as template images: only their shape
// counts, filled with the colour given, so they follow the palette in light and dark themes.
class TemplateIcon
{
public:
    TemplateIcon() = delete;

    // The picture at `size` points for a screen of this pixel ratio, kept in the pixmap cache.
    static QPixmap pixmap(const QString& name, const QSize& size, const QColor& color, qreal dpr);
    // The picture's shape alone, for a template button to colour.
    static QIcon shape(const QString& name);
    // The same as an icon, for a button.
    static QIcon icon(const QString& name, const QSize& size, const QColor& color, qreal dpr);
};
