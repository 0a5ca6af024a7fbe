#include "platform/Platform.h"

#include "platform/ApplicationStateMemory.h"
#include "platform/GlobalShortcutsNull.h"
#include "platform/LoginItemsMemory.h"
#include "platform/PasteboardMemory.h"
#include "platform/WorkspaceNull.h"
#include "support/MessageChannelNull.h"

namespace {
Platform::Services& installed()
{
    static Platform::Services services;
    return services;
}

template <class Interface, class Fallback> Interface& orFallback(Interface* service)
{
    static Fallback fallback;
    return service ? *service : fallback;
}
} // namespace

void Platform::install(const Services& services)
{
    installed() = services;
}

Pasteboard& Platform::pasteboard()
{
    return orFallback<Pasteboard, PasteboardMemory>(installed().pasteboard);
}

ApplicationState& Platform::applicationState()
{
    return orFallback<ApplicationState, ApplicationStateMemory>(installed().applicationState);
}

Workspace& Platform::workspace()
{
    return orFallback<Workspace, WorkspaceNull>(installed().workspace);
}

MessageChannel& Platform::messageChannel()
{
    return orFallback<MessageChannel, MessageChannelNull>(installed().messageChannel);
}

LoginItems& Platform::loginItems()
{
    return orFallback<LoginItems, LoginItemsMemory>(installed().loginItems);
}

GlobalShortcuts& Platform::globalShortcuts()
{
    return orFallback<GlobalShortcuts, GlobalShortcutsNull>(installed().globalShortcuts);
}
