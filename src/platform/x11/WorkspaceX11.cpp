#include "platform/x11/WorkspaceX11.h"

#include "platform/x11/XcbReply.h"

#include <cstring>
#include <memory>
#include <xcb/xcb.h>

namespace {
// Walking up from a focused sub-window to its client window never takes more steps than this.
constexpr int maxTreeDepth = 32;
// The source indication of an activation request: a pager or task bar acting for the user, which
// window managers honour without their focus-stealing prevention.
constexpr uint32_t sourceIsPager = 2;
} // namespace

WorkspaceX11::WorkspaceX11(xcb_connection_t* connection, uint32_t rootWindow)
    : m_connection(connection), m_properties(connection), m_root(rootWindow),
      m_netActiveWindow(m_properties.atom("_NET_ACTIVE_WINDOW")),
      m_netSupportingWmCheck(m_properties.atom("_NET_SUPPORTING_WM_CHECK")),
      m_netClientList(m_properties.atom("_NET_CLIENT_LIST")),
      m_gtkApplicationId(m_properties.atom("_GTK_APPLICATION_ID")),
      m_utf8String(m_properties.atom("UTF8_STRING"))
{}

DesktopWindow WorkspaceX11::activeWindow() const
{
    uint32_t window = m_properties.windowProperty(m_root, m_netActiveWindow);
    if (window == XCB_WINDOW_NONE)
        window = focusedClientWindow();
    return DesktopWindow{window};
}

// Without a window manager the focus may rest on a sub-window of the application's top-level
// window; the top-level one is the first ancestor that carries WM_CLASS.
uint32_t WorkspaceX11::focusedClientWindow() const
{
    const auto focus =
        replyOrNothing(xcb_get_input_focus_reply, m_connection, xcb_get_input_focus(m_connection));
    if (!focus)
        return XCB_WINDOW_NONE;
    uint32_t window = focus->focus;
    for (int depth = 0; depth < maxTreeDepth; ++depth) {
        if (window == XCB_WINDOW_NONE || window == XCB_INPUT_FOCUS_POINTER_ROOT || window == m_root)
            return XCB_WINDOW_NONE;
        if (!m_properties.windowClass(window).isEmpty())
            return window;
        const auto tree = replyOrNothing(xcb_query_tree_reply, m_connection,
                                         xcb_query_tree(m_connection, window));
        if (!tree)
            return XCB_WINDOW_NONE;
        window = tree->parent;
    }
    return XCB_WINDOW_NONE;
}

QString WorkspaceX11::applicationId(DesktopWindow window) const
{
    if (!window.isValid())
        return QStringLiteral("");
    const auto id = uint32_t(window.id);
    const QByteArray gtkId = m_properties.property(id, m_gtkApplicationId, m_utf8String);
    if (!gtkId.isEmpty())
        return QString::fromUtf8(gtkId);

    const WindowPropertiesX11::WindowClass names = m_properties.windowClass(id);
    if (names.isEmpty())
        return QStringLiteral("");
    const QString desktopId =
        m_desktopEntries.desktopIdForWindowClass(names.instance, names.windowClass);
    if (!desktopId.isEmpty())
        return desktopId;
    return names.windowClass.isEmpty() ? names.instance : names.windowClass;
}

QStringList WorkspaceX11::runningApplicationIds() const
{
    QStringList ids;
    const QList<uint32_t> windows =
        m_properties.cardinals(m_root, m_netClientList, XCB_ATOM_WINDOW);
    for (uint32_t window : windows) {
        const QString id = applicationId(DesktopWindow{window});
        if (!id.isEmpty() && !ids.contains(id))
            ids.append(id);
    }
    return ids;
}

bool WorkspaceX11::activateWindow(DesktopWindow window)
{
    const auto id = uint32_t(window.id);
    if (!window.isValid() || !exists(id))
        return false;
    if (!windowManagerRuns())
        return focus(id);
    askWindowManagerToActivate(id);
    return true;
}

// A window manager that follows EWMH names a child window of its own on the root, and that window
// names itself; a name left behind by one that has exited names a window that is gone.
bool WorkspaceX11::windowManagerRuns() const
{
    const uint32_t check = m_properties.windowProperty(m_root, m_netSupportingWmCheck);
    return check != XCB_WINDOW_NONE &&
           m_properties.windowProperty(check, m_netSupportingWmCheck) == check;
}

bool WorkspaceX11::exists(uint32_t window) const
{
    return bool(replyOrNothing(xcb_get_window_attributes_reply, m_connection,
                               xcb_get_window_attributes(m_connection, window)));
}

// The window manager raises the window, brings it from another desktop or out of the task bar,
// and focuses it. No timestamp of the user's last action is at hand here, so the request carries
// CurrentTime, which the pager source indication makes acceptable.
void WorkspaceX11::askWindowManagerToActivate(uint32_t window) const
{
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = m_netActiveWindow;
    event.data.data32[0] = sourceIsPager;
    event.data.data32[1] = XCB_CURRENT_TIME;
    event.data.data32[2] = XCB_WINDOW_NONE;
    xcb_send_event(m_connection, 0, m_root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&event));
    xcb_flush(m_connection);
}

// With no window manager the window is raised and given the input focus directly; a window that
// is not shown cannot take it.
bool WorkspaceX11::focus(uint32_t window) const
{
    const uint32_t above = XCB_STACK_MODE_ABOVE;
    xcb_configure_window(m_connection, window, XCB_CONFIG_WINDOW_STACK_MODE, &above);
    const XcbReply<xcb_generic_error_t> error(xcb_request_check(
        m_connection, xcb_set_input_focus_checked(m_connection, XCB_INPUT_FOCUS_PARENT, window,
                                                  XCB_CURRENT_TIME)));
    return !error;
}
