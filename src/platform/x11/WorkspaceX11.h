#pragma once

#include "platform/Workspace.h"
#include "platform/xdg/DesktopEntryIndex.h"

#include <QByteArray>
#include <QString>
#include <cstdint>

struct xcb_connection_t;

// The X11 desktop: the active window (_NET_ACTIVE_WINDOW, or the input focus when no window
// manager sets it) named by its _GTK_APPLICATION_ID, else the desktop-file id matched by its
// WM_CLASS (from the index of desktop entries it keeps), else its WM_CLASS class.
class WorkspaceX11 : public Workspace
{
public:
    // The connection is not owned; it must outlive this object.
    WorkspaceX11(xcb_connection_t* connection, uint32_t rootWindow);

    QString activeApplicationId() const override;

private:
    uint32_t activeWindow() const;
    uint32_t focusedClientWindow() const;
    QString applicationIdOfWindow(uint32_t window) const;
    QByteArray property(uint32_t window, uint32_t atom, uint32_t type) const;
    uint32_t atom(const char* name) const;

    xcb_connection_t* m_connection;
    uint32_t m_root;
    uint32_t m_netActiveWindow;
    uint32_t m_gtkApplicationId;
    uint32_t m_utf8String;
    DesktopEntryIndex m_desktopEntries;
};
