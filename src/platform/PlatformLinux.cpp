#include "platform/PlatformLinux.h"

#include "platform/ApplicationStateQt.h"
#include "platform/doubles/GlobalShortcutsNull.h"
#include "platform/doubles/WorkspaceNull.h"
#include "platform/wayland/PasteboardWayland.h"
#include "platform/x11/GlobalShortcutsX11.h"
#include "platform/x11/PasteboardX11.h"
#include "platform/x11/WindowColormapX11.h"
#include "platform/x11/WorkspaceX11.h"
#include "platform/xdg/GlobalShortcutsPortal.h"
#include "platform/xdg/LoginItemsXdg.h"
#include "support/MessageChannelWormhole.h"

#include <QDBusConnection>
#include <QGuiApplication>
#include <xcb/xcb.h>

namespace {
xcb_connection_t* x11Connection()
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

uint32_t rootWindow(xcb_connection_t* connection)
{
    return xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
}

std::unique_ptr<Workspace> makeWorkspace()
{
    xcb_connection_t* connection = x11Connection();
    if (!connection)
        return std::make_unique<WorkspaceNull>();
    return std::make_unique<WorkspaceX11>(connection, rootWindow(connection));
}

// A Wayland compositor lets no client grab keys, Xwayland clients included: there the desktop
// portal binds the shortcuts, or nothing can.
std::unique_ptr<GlobalShortcuts> makeGlobalShortcuts()
{
    if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        const QDBusConnection bus = QDBusConnection::sessionBus();
        if (bus.isConnected())
            return std::make_unique<GlobalShortcutsPortal>(bus);
        return std::make_unique<GlobalShortcutsNull>();
    }
    xcb_connection_t* connection = x11Connection();
    if (!connection)
        return std::make_unique<GlobalShortcutsNull>();
    return std::make_unique<GlobalShortcutsX11>(connection, rootWindow(connection));
}

// A Wayland session where Qt itself speaks Wayland; under XWayland (QT_QPA_PLATFORM=xcb) the
// program is an X11 client like any other.
bool isWaylandSession()
{
    return !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
           QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}
} // namespace

PlatformLinux::PlatformLinux()
    : m_applicationState(std::make_unique<ApplicationStateQt>()), m_workspace(makeWorkspace()),
      m_messageChannel(std::make_unique<MessageChannelWormhole>()),
      m_loginItems(std::make_unique<LoginItemsXdg>(LoginItemsXdg::userAutostartFolder(),
                                                   QCoreApplication::applicationFilePath())),
      m_globalShortcuts(makeGlobalShortcuts())
{
    if (xcb_connection_t* connection = x11Connection())
        m_windowColormap = std::make_unique<WindowColormapX11>(connection);
    if (isWaylandSession()) {
        auto wayland =
            std::make_unique<PasteboardWayland>(QGuiApplication::clipboard(), *m_applicationState);
        wayland->start();
        m_pasteboard = std::move(wayland);
    } else {
        m_pasteboard = std::make_unique<PasteboardX11>(QGuiApplication::clipboard());
    }
}

PlatformLinux::~PlatformLinux() = default;

PlatformServices PlatformLinux::services() const
{
    return {m_pasteboard.get(),     m_applicationState.get(), m_workspace.get(),
            m_messageChannel.get(), m_loginItems.get(),       m_globalShortcuts.get()};
}
