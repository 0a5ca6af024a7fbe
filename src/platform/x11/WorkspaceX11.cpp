#include "platform/x11/WorkspaceX11.h"

#include "platform/x11/XcbReply.h"

#include <cstring>
#include <memory>
#include <xcb/xcb.h>

namespace {
// Walking up from a focused sub-window to its client window never takes more steps than this.
constexpr int maxTreeDepth = 32;
} // namespace

WorkspaceX11::WorkspaceX11(xcb_connection_t* connection, uint32_t rootWindow)
    : m_connection(connection), m_root(rootWindow), m_netActiveWindow(atom("_NET_ACTIVE_WINDOW")),
      m_gtkApplicationId(atom("_GTK_APPLICATION_ID")), m_utf8String(atom("UTF8_STRING"))
{}

QString WorkspaceX11::activeApplicationId() const
{
    uint32_t window = activeWindow();
    if (window == XCB_WINDOW_NONE)
        window = focusedClientWindow();
    if (window == XCB_WINDOW_NONE)
        return QStringLiteral("");
    return applicationIdOfWindow(window);
}

uint32_t WorkspaceX11::activeWindow() const
{
    const QByteArray value = property(m_root, m_netActiveWindow, XCB_ATOM_WINDOW);
    if (value.size() < int(sizeof(uint32_t)))
        return XCB_WINDOW_NONE;
    uint32_t window;
    std::memcpy(&window, value.constData(), sizeof window);
    return window;
}

// Without a window manager the focus may rest on a sub-window of the application's top-level
// window; the top-level one is the first ancestor that carries WM_CLASS.
uint32_t WorkspaceX11::focusedClientWindow() const
{
    XcbReply<xcb_get_input_focus_reply_t> focus(
        xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
    if (!focus)
        return XCB_WINDOW_NONE;
    uint32_t window = focus->focus;
    for (int depth = 0; depth < maxTreeDepth; ++depth) {
        if (window == XCB_WINDOW_NONE || window == XCB_INPUT_FOCUS_POINTER_ROOT || window == m_root)
            return XCB_WINDOW_NONE;
        if (!property(window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING).isEmpty())
            return window;
        XcbReply<xcb_query_tree_reply_t> tree(
            xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, window), nullptr));
        if (!tree)
            return XCB_WINDOW_NONE;
        window = tree->parent;
    }
    return XCB_WINDOW_NONE;
}

QString WorkspaceX11::applicationIdOfWindow(uint32_t window) const
{
    const QByteArray gtkId = property(window, m_gtkApplicationId, m_utf8String);
    if (!gtkId.isEmpty())
        return QString::fromUtf8(gtkId);

    // WM_CLASS holds two NUL-terminated strings: the instance name, then the class.
    const QList<QByteArray> parts =
        property(window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING).split('\0');
    const QString instance = parts.size() > 0 ? QString::fromLatin1(parts[0]) : QString();
    const QString windowClass = parts.size() > 1 ? QString::fromLatin1(parts[1]) : QString();
    if (instance.isEmpty() && windowClass.isEmpty())
        return QStringLiteral("");
    const QString desktopId = m_desktopEntries.desktopIdForWindowClass(instance, windowClass);
    if (!desktopId.isEmpty())
        return desktopId;
    return windowClass.isEmpty() ? instance : windowClass;
}

QByteArray WorkspaceX11::property(uint32_t window, uint32_t atom, uint32_t type) const
{
    constexpr uint32_t maxLength = 4096;
    XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        m_connection, xcb_get_property(m_connection, 0, window, atom, type, 0, maxLength),
        nullptr));
    if (!reply || reply->type == XCB_ATOM_NONE)
        return {};
    const int length = xcb_get_property_value_length(reply.get());
    return QByteArray(static_cast<const char*>(xcb_get_property_value(reply.get())), length);
}

uint32_t WorkspaceX11::atom(const char* name) const
{
    XcbReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        m_connection, xcb_intern_atom(m_connection, 0, uint16_t(std::strlen(name)), name),
        nullptr));
    return reply ? reply->atom : uint32_t(XCB_ATOM_NONE);
}
