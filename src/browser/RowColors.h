#pragma once

#include <QColor>
#include <QPalette>

// The colours a history row is drawn in, from the palette's highlight colours. The selected
// row must stand out from the list in light and dark themes alike: a highlight too close to the
// list's own colour is darkened or lightened until the two are at least 3:1 apart, and the
// selected row's text is kept readable on it.
class RowColors
{
public:
    static constexpr double minimumContrast = 3.0;
    static constexpr double minimumTextContrast = 4.5;

    static QColor selectedFill(const QPalette& palette);
    static QColor selectedText(const QPalette& palette);
    // The row under the pointer: a light wash of the highlight.
    static QColor hoverFill(const QPalette& palette);
    // Secondary text (a row's time, a count): the placeholder colour, or the text colour made
    // fainter where a theme's placeholder colour is lost on the `background` it stands on.
    static QColor secondaryText(const QPalette& palette,
                                QPalette::ColorRole background = QPalette::Base);
    // The outline of the current row while the list has the keyboard focus.
    static QColor focusFrame(const QPalette& palette);

    // The contrast ratio of two colours (1 to 21), from their relative luminance.
    static double contrast(const QColor& a, const QColor& b);
};
