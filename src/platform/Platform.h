#pragma once

class ApplicationState;
class Pasteboard;

// The running system's implementations of the platform interfaces, for the process-wide
// services' shared instances. main() installs them before any service is first used; until
// then (and in tests that never install any) the in-memory implementations stand in.
namespace Platform {
void install(Pasteboard* pasteboard, ApplicationState* applicationState);

Pasteboard& pasteboard();
ApplicationState& applicationState();
} // namespace Platform
