#pragma once

#include "platform/PlatformServices.h"

#include <memory>

class ApplicationState;
class GlobalShortcuts;
class LoginItems;
class MessageChannel;
class Pasteboard;
class WindowColormapX11;
class Workspace;

// The implementations of the platform interfaces for the running Linux session: the X11
// clipboard, active window and global shortcuts where the session is X11, the Wayland clipboard
// through data-control where Qt runs on Wayland, global shortcuts through the desktop portal in
// a Wayland session, the message channel on
// the session bus, start at log-in through the user's XDG autostart folder. On X11 it also gives
// the application's windows the screen's default colormap (WindowColormapX11).
// Needs the QGuiApplication.
class PlatformLinux
{
public:
    PlatformLinux();
    ~PlatformLinux();

    // Every implementation, owned by this object.
    PlatformServices services() const;

private:
    std::unique_ptr<ApplicationState> m_applicationState;
    std::unique_ptr<Pasteboard> m_pasteboard;
    std::unique_ptr<Workspace> m_workspace;
    std::unique_ptr<MessageChannel> m_messageChannel;
    std::unique_ptr<LoginItems> m_loginItems;
    std::unique_ptr<GlobalShortcuts> m_globalShortcuts;
    std::unique_ptr<WindowColormapX11> m_windowColormap;
};
