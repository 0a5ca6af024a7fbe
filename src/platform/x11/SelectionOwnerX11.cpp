#include "platform/x11/SelectionOwnerX11.h"

#include "platform/x11/XcbReply.h"

#include <xcb/xcb.h>

SelectionOwnerX11::SelectionOwnerX11(xcb_connection_t* connection, uint32_t rootWindow)
    : m_connection(connection), m_properties(connection), m_root(rootWindow),
      m_idMask(xcb_get_setup(connection)->resource_id_mask),
      m_netClientList(m_properties.atom("_NET_CLIENT_LIST")),
      m_netWmPid(m_properties.atom("_NET_WM_PID")),
      m_gtkApplicationId(m_properties.atom("_GTK_APPLICATION_ID")),
      m_utf8String(m_properties.atom("UTF8_STRING"))
{}

QStringList SelectionOwnerX11::applicationNames(uint32_t owner) const
{
    if (owner == XCB_WINDOW_NONE)
        return {};
    const QStringList own = namesOf(owner);
    if (!own.isEmpty())
        return own;
    const QList<uint32_t> windows = topLevelWindows();
    const uint32_t client = owner & ~m_idMask;
    for (uint32_t window : windows) {
        if ((window & ~m_idMask) == client) {
            const QStringList names = namesOf(window);
            if (!names.isEmpty())
                return names;
        }
    }
    const QList<uint32_t> pid = m_properties.cardinals(owner, m_netWmPid, XCB_ATOM_CARDINAL);
    if (pid.isEmpty())
        return {};
    for (uint32_t window : windows) {
        if (m_properties.cardinals(window, m_netWmPid, XCB_ATOM_CARDINAL) == pid) {
            const QStringList names = namesOf(window);
            if (!names.isEmpty())
                return names;
        }
    }
    return {};
}

QStringList SelectionOwnerX11::namesOf(uint32_t window) const
{
    QStringList names;
    const QByteArray gtkId = m_properties.property(window, m_gtkApplicationId, m_utf8String);
    if (!gtkId.isEmpty())
        names << QString::fromUtf8(gtkId).toCaseFolded();
    const WindowPropertiesX11::WindowClass windowClass = m_properties.windowClass(window);
    for (const QString& name : {windowClass.windowClass, windowClass.instance}) {
        if (!name.isEmpty() && !names.contains(name.toCaseFolded()))
            names << name.toCaseFolded();
    }
    return names;
}

QList<uint32_t> SelectionOwnerX11::topLevelWindows() const
{
    const QList<uint32_t> listed = m_properties.cardinals(m_root, m_netClientList, XCB_ATOM_WINDOW);
    if (!listed.isEmpty())
        return listed;
    const auto tree =
        replyOrNothing(xcb_query_tree_reply, m_connection, xcb_query_tree(m_connection, m_root));
    if (!tree)
        return {};
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    return QList<uint32_t>(children, children + xcb_query_tree_children_length(tree.get()));
}
