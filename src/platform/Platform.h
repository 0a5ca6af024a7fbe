#pragma once

class ApplicationState;
class GlobalShortcuts;
class LoginItems;
class MessageChannel;
class Pasteboard;
class Workspace;

// The platform implementations the composition root built, for the few parts that reach them
// without being handed them. The root installs them before it builds anything else and removes
// them when it is torn down; asking for one that is not installed stops the program.
namespace Platform {
struct Services
{
    Pasteboard* pasteboard = nullptr;
    ApplicationState* applicationState = nullptr;
    Workspace* workspace = nullptr;
    MessageChannel* messageChannel = nullptr;
    LoginItems* loginItems = nullptr;
    GlobalShortcuts* globalShortcuts = nullptr;
};

void install(const Services& services);

Pasteboard& pasteboard();
ApplicationState& applicationState();
Workspace& workspace();
MessageChannel& messageChannel();
LoginItems& loginItems();
GlobalShortcuts& globalShortcuts();
} // namespace Platform
