#include "browser/RowColors.h"

#include <QPalette>
#include <cmath>

namespace {
constexpr int hoverAlpha = 48;
constexpr qreal secondaryOpacity = 0.65;
// Steps of darkening or lightening tried before falling back to the text colour.
constexpr int adjustSteps = 20;
constexpr int adjustFactor = 110;

double channel(double value)
{
    return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

double luminance(const QColor& color)
{
    const QColor rgb = color.toRgb();
    return 0.2126 * channel(rgb.redF()) + 0.7152 * channel(rgb.greenF()) +
           0.0722 * channel(rgb.blueF());
}

// Moves the colour away from the background: darker on a light list, lighter on a dark one.
QColor standOut(QColor color, const QColor& background, double wanted)
{
    const bool lightBackground = luminance(background) > 0.5;
    for (int step = 0; step < adjustSteps && RowColors::contrast(color, background) < wanted;
         ++step)
        color = lightBackground ? color.darker(adjustFactor) : color.lighter(adjustFactor);
    return color;
}
} // namespace

double RowColors::contrast(const QColor& a, const QColor& b)
{
    const double first = luminance(a);
    const double second = luminance(b);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

QColor RowColors::selectedFill(const QPalette& palette)
{
    const QColor list = palette.color(QPalette::Base);
    const QColor fill = standOut(palette.color(QPalette::Highlight), list, minimumContrast);
    return contrast(fill, list) >= minimumContrast ? fill : palette.color(QPalette::Text);
}

QColor RowColors::selectedText(const QPalette& palette)
{
    const QColor fill = selectedFill(palette);
    const QColor text = palette.color(QPalette::HighlightedText);
    if (contrast(text, fill) >= minimumTextContrast)
        return text;
    const QColor black(Qt::black);
    const QColor white(Qt::white);
    return contrast(black, fill) > contrast(white, fill) ? black : white;
}

QColor RowColors::hoverFill(const QPalette& palette)
{
    QColor fill = palette.color(QPalette::Highlight);
    fill.setAlpha(hoverAlpha);
    return fill;
}

QColor RowColors::secondaryText(const QPalette& palette, QPalette::ColorRole background)
{
    const QColor placeholder = palette.color(QPalette::PlaceholderText);
    if (contrast(placeholder, palette.color(background)) >= minimumContrast)
        return placeholder;
    QColor text =
        palette.color(background == QPalette::Base ? QPalette::Text : QPalette::WindowText);
    text.setAlphaF(secondaryOpacity);
    return text;
}

QColor RowColors::focusFrame(const QPalette& palette)
{
    return selectedFill(palette);
}
