#pragma once

class ApplicationState;
class GlobalShortcuts;
class LoginItems;
class MessageChannel;
class Pasteboard;
class Workspace;

// The running system's implementations of the platform interfaces, for the process-wide
// services' shared instances. main() installs them before any service is first used; until
// then (and in tests that never install any) in-memory or do-nothing implementations stand in.
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
