#pragma once

#include "platform/Workspace.h"
#include "platform/x11/WindowPropertiesX11.h"
#include "platform/xdg/DesktopEntryIndex.h"

#include <QByteArray>
#include <QString>
#include <cstdint>

struct xcb_connection_t;

// The X11 desktop. The active window is the one the window manager names in _NET_ACTIVE_WINDOW,
// or the client window holding the input focus where no window manager sets it. A window's
// application is its _GTK_APPLICATION_ID, else the desktop-file id matched by its WM_CLASS (from
// the index of desktop entries it keeps), else its WM_CLASS class. Activating asks the window
// manager (EWMH), or sets the input focus where none runs. Every request is one short round trip
// to the server; none waits on another client.
class WorkspaceX11 : public Workspace
{
public:
    // The connection is not owned; it must outlive this object.
    WorkspaceX11(xcb_connection_t* connection, uint32_t rootWindow);

    DesktopWindow activeWindow() const override;
    QString applicationId(DesktopWindow window) const override;
    bool activateWindow(DesktopWindow window) override;
    QStringList runningApplicationIds() const override;

private:
    uint32_t netActiveWindow() const;
    uint32_t focusedClientWindow() const;
    bool windowManagerRuns() const;
    bool exists(uint32_t window) const;
    void askWindowManagerToActivate(uint32_t window) const;
    bool focus(uint32_t window) const;

    xcb_connection_t* m_connection;
    WindowPropertiesX11 m_properties;
    uint32_t m_root;
    uint32_t m_netActiveWindow;
    uint32_t m_netSupportingWmCheck;
    uint32_t m_netClientList;
    uint32_t m_gtkApplicationId;
    uint32_t m_utf8String;
    DesktopEntryIndex m_desktopEntries;
};
