#include "platform/x11/WindowColormapX11.h"

#include "platform/x11/XcbReply.h"

#include <QGuiApplication>
#include <QPlatformSurfaceEvent>
#include <QWindow>
#include <xcb/xcb.h>

namespace {
const xcb_screen_t* screenWithRoot(xcb_connection_t* connection, xcb_window_t root)
{
    for (auto it = xcb_setup_roots_iterator(xcb_get_setup(connection)); it.rem;
         xcb_screen_next(&it)) {
        if (it.data->root == root)
            return it.data;
    }
    return nullptr;
}
} // namespace

WindowColormapX11::WindowColormapX11(xcb_connection_t* connection, QObject* parent)
    : QObject(parent), m_connection(connection)
{
    qApp->installEventFilter(this);
}

bool WindowColormapX11::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::PlatformSurface || !watched->isWindowType())
        return false;
    auto* window = static_cast<QWindow*>(watched);
    if (static_cast<QPlatformSurfaceEvent*>(event)->surfaceEventType() ==
            QPlatformSurfaceEvent::SurfaceCreated &&
        window->isTopLevel() && window->type() != Qt::ForeignWindow)
        useDefaultColormap(static_cast<uint32_t>(window->winId()));
    return false;
}

void WindowColormapX11::useDefaultColormap(uint32_t window) const
{
    // Both questions go out before either answer is awaited: one round trip.
    const auto attributesCookie = xcb_get_window_attributes(m_connection, window);
    const auto geometryCookie = xcb_get_geometry(m_connection, window);
    const XcbReply<xcb_get_window_attributes_reply_t> attributes(
        xcb_get_window_attributes_reply(m_connection, attributesCookie, nullptr));
    const XcbReply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(m_connection, geometryCookie, nullptr));
    if (!attributes || !geometry)
        return;
    const xcb_screen_t* screen = screenWithRoot(m_connection, geometry->root);
    if (!screen || attributes->visual != screen->root_visual ||
        attributes->colormap == screen->default_colormap)
        return;
    const uint32_t colormap = screen->default_colormap;
    xcb_change_window_attributes(m_connection, window, XCB_CW_COLORMAP, &colormap);
    xcb_flush(m_connection);
}
