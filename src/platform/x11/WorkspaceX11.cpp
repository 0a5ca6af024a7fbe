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

// A reply whose error, if any, is dropped here rather than reported on the connection (where Qt
// would log it): a window may be gone by the time it is asked about.
template <class Reply, class Cookie>
XcbReply<Reply> replyOrNothing(Reply* (*reply)(xcb_connection_t*, Cookie, xcb_generic_error_t**),
                               xcb_connection_t* connection, Cookie cookie)
{
    xcb_generic_error_t* error = nullptr;
    XcbReply<Reply> answer(reply(connection, cookie, &error));
    std::free(error);
    return answer;
}
} // namespace

WorkspaceX11::WorkspaceX11(xcb_connection_t* connection, uint32_t rootWindow)
    : m_connection(connection), m_root(rootWindow), m_netActiveWindow(atom("_NET_ACTIVE_WINDOW")),
      m_netSupportingWmCheck(atom("_NET_SUPPORTING_WM_CHECK")),
      m_gtkApplicationId(atom("_GTK_APPLICATION_ID")), m_utf8String(atom("UTF8_STRING"))
{}

DesktopWindow WorkspaceX11::activeWindow() const
{
    uint32_t window = windowProperty(m_root, m_netActiveWindow);
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
        if (!property(window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING).isEmpty())
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
    const QByteArray gtkId = property(id, m_gtkApplicationId, m_utf8String);
    if (!gtkId.isEmpty())
        return QString::fromUtf8(gtkId);

    // WM_CLASS holds two NUL-terminated strings: the instance name, then the class.
    const QList<QByteArray> parts = property(id, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING).split('\0');
    const QString instance = parts.size() > 0 ? QString::fromLatin1(parts[0]) : QString();
    const QString windowClass = parts.size() > 1 ? QString::fromLatin1(parts[1]) : QString();
    if (instance.isEmpty() && windowClass.isEmpty())
        return QStringLiteral("");
    const QString desktopId = m_desktopEntries.desktopIdForWindowClass(instance, windowClass);
    if (!desktopId.isEmpty())
        return desktopId;
    return windowClass.isEmpty() ? instance : windowClass;
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
    const uint32_t check = windowProperty(m_root, m_netSupportingWmCheck);
    return check != XCB_WINDOW_NONE && windowProperty(check, m_netSupportingWmCheck) == check;
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

uint32_t WorkspaceX11::windowProperty(uint32_t window, uint32_t atom) const
{
    const QByteArray value = property(window, atom, XCB_ATOM_WINDOW);
    if (value.size() < int(sizeof(uint32_t)))
        return XCB_WINDOW_NONE;
    uint32_t named;
    std::memcpy(&named, value.constData(), sizeof named);
    return named;
}

QByteArray WorkspaceX11::property(uint32_t window, uint32_t atom, uint32_t type) const
{
    constexpr uint32_t maxLength = 4096;
    const auto reply =
        replyOrNothing(xcb_get_property_reply, m_connection,
                       xcb_get_property(m_connection, 0, window, atom, type, 0, maxLength));
    if (!reply || reply->type == XCB_ATOM_NONE)
        return {};
    const int length = xcb_get_property_value_length(reply.get());
    return QByteArray(static_cast<const char*>(xcb_get_property_value(reply.get())), length);
}

uint32_t WorkspaceX11::atom(const char* name) const
{
    const auto reply =
        replyOrNothing(xcb_intern_atom_reply, m_connection,
                       xcb_intern_atom(m_connection, 0, uint16_t(std::strlen(name)), name));
    return reply ? reply->atom : uint32_t(XCB_ATOM_NONE);
}
