#include "platform/Platform.h"

#include "platform/ApplicationStateMemory.h"
#include "platform/PasteboardMemory.h"

namespace {
struct Installed
{
    Pasteboard* pasteboard = nullptr;
    ApplicationState* applicationState = nullptr;
};

Installed& installed()
{
    static Installed services;
    return services;
}
} // namespace

void Platform::install(Pasteboard* pasteboard, ApplicationState* applicationState)
{
    installed() = {pasteboard, applicationState};
}

Pasteboard& Platform::pasteboard()
{
    static PasteboardMemory fallback;
    return installed().pasteboard ? *installed().pasteboard : fallback;
}

ApplicationState& Platform::applicationState()
{
    static ApplicationStateMemory fallback;
    return installed().applicationState ? *installed().applicationState : fallback;
}
