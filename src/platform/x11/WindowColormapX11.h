#pragma once

#include <QObject>

struct xcb_connection_t;

// Gives each of the application's X11 top-level windows the screen's default colormap when the
// window uses the screen's root visual, as the window is created (and each time it is created
// again). Why: Qt's xcb platform creates a colormap of its own for the window. `xwd -root`, and
// the screenshot tools built on it, take every window whose colormap is not the root's for a
// separate visual and compose it into the image on its own; overlapping windows (a window-modal
// alert over the main window) then come out as black boxes, although they are drawn. A window
// with another visual (ARGB, some OpenGL windows) needs a colormap of that visual: it keeps Qt's.
class WindowColormapX11 : public QObject
{
    Q_OBJECT

public:
    // The connection is not owned; it must be the application's and outlive this object.
    // Watches the windows of qApp from now on.
    explicit WindowColormapX11(xcb_connection_t* connection, QObject* parent = nullptr);

    bool eventFilter(QObject* watched, QEvent* event) override;

    // Sets the default colormap on this X window if its visual is its screen's root visual.
    void useDefaultColormap(uint32_t window) const;

private:
    xcb_connection_t* m_connection;
};
