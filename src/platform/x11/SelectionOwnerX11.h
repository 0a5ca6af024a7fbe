#pragma once

#include "platform/x11/WindowPropertiesX11.h"

#include <QStringList>
#include <cstdint>

struct xcb_connection_t;

// Which application owns a selection, told from the owner's window before anything is asked of
// the owner. Toolkits own selections with a hidden window of their own that carries no names, so
// the names are those of the owner window itself where it has them, else of a window the desktop
// lists that belongs to the same X client (the same resource id base), else of one that gives
// the same _NET_WM_PID.
class SelectionOwnerX11
{
public:
    // The connection is not owned; it must outlive this object.
    SelectionOwnerX11(xcb_connection_t* connection, uint32_t rootWindow);

    // The names the owner's application goes by, case-folded: its _GTK_APPLICATION_ID, its
    // WM_CLASS class and instance name. Empty when nothing is known of it.
    QStringList applicationNames(uint32_t owner) const;

private:
    QStringList namesOf(uint32_t window) const;
    // The top-level windows: those the window manager lists, else the root's children.
    QList<uint32_t> topLevelWindows() const;

    xcb_connection_t* m_connection;
    WindowPropertiesX11 m_properties;
    uint32_t m_root;
    uint32_t m_idMask;
    uint32_t m_netClientList;
    uint32_t m_netWmPid;
    uint32_t m_gtkApplicationId;
    uint32_t m_utf8String;
};
