#pragma once

#include <QtGlobal>

class QColor;
class QIcon;
class QPalette;
class QPixmap;
class QSize;

// Template images: icons whose own colours are ignored and whose shape (their alpha) is drawn in
// the palette's text colour, so that they follow light and dark themes and the selection colour.
// Every button, row and tab that shows one of the application's SVG icons draws it through here.
class TemplateImage
{
public:
    TemplateImage() = delete;

    // The colour a template image takes on: the palette's text colour, or its highlighted-text
    // colour on a selection.
    static QColor color(const QPalette& palette, bool selected = false);

    // The shape of `shape` drawn in `color`, `size` device-independent pixels large, rendered at
    // `devicePixelRatio` so that it stays sharp on high-density screens.
    static QPixmap pixmap(const QIcon& shape, const QSize& size, qreal devicePixelRatio,
                          const QColor& color);

    // An icon that draws `shape` in the colours of `palette`: text colour in the normal and active
    // modes, highlighted text when selected, the disabled text colour when disabled. Made again
    // when the palette changes.
    static QIcon icon(const QIcon& shape, const QPalette& palette);
};
