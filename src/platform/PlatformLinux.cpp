#include "platform/PlatformLinux.h"

#include "platform/ApplicationStateQt.h"
#include "platform/LoginItemsXdg.h"
#include "platform/PasteboardX11.h"
#include "platform/Platform.h"
#include "platform/WorkspaceNull.h"
#include "platform/WorkspaceX11.h"
#include "support/MessageChannelWormhole.h"

#include <QGuiApplication>
#include <xcb/xcb.h>

namespace {
std::unique_ptr<Workspace> makeWorkspace()
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return std::make_unique<WorkspaceNull>();
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    return std::make_unique<WorkspaceX11>(connection, screen->root);
}
} // namespace

PlatformLinux::PlatformLinux()
    : m_pasteboard(std::make_unique<PasteboardX11>(QGuiApplication::clipboard())),
      m_applicationState(std::make_unique<ApplicationStateQt>()), m_workspace(makeWorkspace()),
      m_messageChannel(std::make_unique<MessageChannelWormhole>()),
      m_loginItems(std::make_unique<LoginItemsXdg>(LoginItemsXdg::userAutostartFolder(),
                                                   QCoreApplication::applicationFilePath())),
      m_x11(qGuiApp->nativeInterface<QNativeInterface::QX11Application>() != nullptr)
{
    Platform::install({m_pasteboard.get(), m_applicationState.get(), m_workspace.get(),
                       m_messageChannel.get(), m_loginItems.get()});
}

PlatformLinux::~PlatformLinux()
{
    Platform::install({});
}
