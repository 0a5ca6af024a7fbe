#pragma once

#include "platform/PlatformServices.h"

#include <memory>

class ApplicationState;
class GlobalShortcuts;
class LoginItems;
class MessageChannel;
class Pasteboard;
class PasteKeystroke;
class WindowColormapX11;
class Workspace;

// The implementations of the platform interfaces for the running Linux session: the X11
// clipboard, active window and global shortcuts where the session is X11, the Wayland clipboard
// through the compositor's data-control protocol where a Wayland compositor offers it, global
// shortcuts through the desktop portal in a Wayland session, the message channel on the session
// bus, start at log-in through the user's XDG autostart folder, the paste keystroke through XTest
// on X11 and a virtual keyboard on Wayland. On X11 it also gives the application's windows the
// screen's default colormap (WindowColormapX11).
// Needs the QGuiApplication.
class PlatformLinux
{
public:
    // Chooses, before the QGuiApplication is made, how a Wayland session's clipboard is reached:
    // through the compositor's data-control protocol where it offers one, else through Xwayland as
    // an X11 client like any other (Qt is then told to use its xcb platform), as GNOME's mutter
    // mirrors its clipboard to X11 clients. VANTREL_WAYLAND_PATH=data-control or =xwayland
    // overrides the choice. Logs the path taken; does nothing outside a Wayland session.
    static void chooseWaylandPath();

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
    std::unique_ptr<PasteKeystroke> m_pasteKeystroke;
    std::unique_ptr<WindowColormapX11> m_windowColormap;
};
