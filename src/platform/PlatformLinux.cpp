#include "platform/PlatformLinux.h"

#include "platform/ApplicationStateQt.h"
#include "platform/doubles/GlobalShortcutsNull.h"
#include "platform/doubles/PasteKeystrokeNull.h"
#include "platform/doubles/WorkspaceNull.h"
#include "platform/wayland/CompositorGlobals.h"
#include "platform/wayland/DataControlProtocol.h"
#include "platform/wayland/PasteKeystrokeWayland.h"
#include "platform/wayland/PasteboardWayland.h"
#include "platform/x11/GlobalShortcutsX11.h"
#include "platform/x11/PasteKeystrokeX11.h"
#include "platform/x11/PasteboardX11.h"
#include "platform/x11/WindowColormapX11.h"
#include "platform/x11/WorkspaceX11.h"
#include "platform/xdg/GlobalShortcutsPortal.h"
#include "platform/xdg/LoginItemsXdg.h"
#include "support/Logging.h"
#include "support/MessageChannelWormhole.h"

#include <QDBusConnection>
#include <QGuiApplication>
#include <optional>
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

// How the clipboard of the session is reached.
struct WaylandPath
{
    // Through data-control (the protocol, or nullptr where the compositor offers none); else as
    // an X11 client.
    bool dataControl = false;
    const DataControlProtocol* protocol = nullptr;
    // QT_QPA_PLATFORM as it was before the Xwayland path set it, so that the programs Vantrel
    // starts (a browser, a file manager) get the user's own.
    std::optional<QByteArray> qtPlatformBefore;
};

WaylandPath decideWaylandPath()
{
    if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return {};
    const QString forced = qEnvironmentVariable("VANTREL_WAYLAND_PATH");
    const QStringList globals = CompositorGlobals::list().value_or(QStringList());
    const DataControlProtocol* protocol = DataControlProtocol::offeredBy(globals);
    if (!forced.isEmpty() && forced != u"data-control" && forced != u"xwayland")
        qCWarning(lcPlatform) << "VANTREL_WAYLAND_PATH is" << forced
                              << "(neither data-control nor xwayland): choosing as without it";
    const bool hasXwayland = !qEnvironmentVariableIsEmpty("DISPLAY");
    if (forced == u"xwayland" || (forced != u"data-control" && !protocol && hasXwayland)) {
        qCInfo(lcPlatform, "Wayland session: recording through Xwayland as an X11 client (%s)",
               forced == u"xwayland" ? "VANTREL_WAYLAND_PATH=xwayland"
                                     : "the compositor offers no data-control protocol");
        WaylandPath path;
        path.qtPlatformBefore = qgetenv("QT_QPA_PLATFORM");
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
            path.qtPlatformBefore->clear();
        qputenv("QT_QPA_PLATFORM", "xcb");
        return path;
    }
    if (protocol)
        qCInfo(lcPlatform, "Wayland session: recording through the compositor's %s",
               protocol->managerName());
    else
        qCWarning(lcPlatform, "Wayland session: the compositor offers no data-control protocol%s",
                  hasXwayland ? "" : ", and there is no Xwayland (DISPLAY is not set)");
    return {true, protocol, std::nullopt};
}

// Decided once, before Qt connects to the display.
const WaylandPath& waylandPath()
{
    static const WaylandPath path = decideWaylandPath();
    return path;
}

// A Wayland compositor without virtual keyboards (GNOME, KDE) lets no application type into
// another: choosing then only copies.
std::unique_ptr<PasteKeystroke> makePasteKeystroke()
{
    if (waylandPath().dataControl) {
        auto wayland = std::make_unique<PasteKeystrokeWayland>();
        if (wayland->available())
            return wayland;
        return std::make_unique<PasteKeystrokeNull>();
    }
    xcb_connection_t* connection = x11Connection();
    if (!connection)
        return std::make_unique<PasteKeystrokeNull>();
    return std::make_unique<PasteKeystrokeX11>(connection, rootWindow(connection));
}

} // namespace

void PlatformLinux::chooseWaylandPath()
{
    waylandPath();
}

PlatformLinux::PlatformLinux()
    : m_applicationState(std::make_unique<ApplicationStateQt>()), m_workspace(makeWorkspace()),
      m_messageChannel(std::make_unique<MessageChannelWormhole>()),
      m_loginItems(std::make_unique<LoginItemsXdg>(LoginItemsXdg::userAutostartFolder(),
                                                   QCoreApplication::applicationFilePath())),
      m_globalShortcuts(makeGlobalShortcuts()), m_pasteKeystroke(makePasteKeystroke())
{
    if (const std::optional<QByteArray>& before = waylandPath().qtPlatformBefore) {
        if (before->isEmpty())
            qunsetenv("QT_QPA_PLATFORM");
        else
            qputenv("QT_QPA_PLATFORM", *before);
    }
    if (xcb_connection_t* connection = x11Connection())
        m_windowColormap = std::make_unique<WindowColormapX11>(connection);
    if (waylandPath().dataControl) {
        auto wayland = std::make_unique<PasteboardWayland>(waylandPath().protocol);
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
            m_messageChannel.get(), m_loginItems.get(),       m_globalShortcuts.get(),
            m_pasteKeystroke.get()};
}
