#include "platform/Platform.h"

#include <QtGlobal>

namespace {
Platform::Services& installed()
{
    static Platform::Services services;
    return services;
}

// A service asked for before the composition root installed the platform is a fault in the
// order of construction; a stand-in would hide it and, for the clipboard, capture nothing.
template <class Interface> Interface& require(Interface* service, const char* accessor)
{
    if (!service)
        qFatal("%s used before the application installed the platform", accessor);
    return *service;
}
} // namespace

void Platform::install(const Services& services)
{
    installed() = services;
}

Pasteboard& Platform::pasteboard()
{
    return require(installed().pasteboard, "Platform::pasteboard()");
}

ApplicationState& Platform::applicationState()
{
    return require(installed().applicationState, "Platform::applicationState()");
}

Workspace& Platform::workspace()
{
    return require(installed().workspace, "Platform::workspace()");
}

MessageChannel& Platform::messageChannel()
{
    return require(installed().messageChannel, "Platform::messageChannel()");
}

LoginItems& Platform::loginItems()
{
    return require(installed().loginItems, "Platform::loginItems()");
}

GlobalShortcuts& Platform::globalShortcuts()
{
    return require(installed().globalShortcuts, "Platform::globalShortcuts()");
}
