#pragma once

#include <QColor>
#include <QIcon>

class QImage;

// The tray icon's pictures. The panel's own colour is not known (a dark theme may still have a
// light panel), so the shape is drawn in the palette's window-text colour inside a halo of the
// window colour, which stands out on light and dark panels alike. Each size is drawn into its
// own image, pixel for pixel, so the icon is sharp at every scale. A paused Vantrel carries a
// pause badge in its lower corner.
class StatusIcon
{
public:
    StatusIcon() = delete;

    // The sizes drawn, in device pixels; the tray picks the nearest.
    static const QList<int>& sizes();
    // Each size is drawn when it is first asked for.
    static QIcon icon(const QColor& foreground, const QColor& halo, bool paused);
    // One size of it, as `icon` draws it.
    static QImage image(int size, const QColor& foreground, const QColor& halo, bool paused);
};
