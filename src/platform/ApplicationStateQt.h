#pragma once

#include "platform/ApplicationState.h"

// Active while one of the application's windows has the input focus, as Qt reports it. Under X11
// that needs a window manager (or an explicit focus change) to move the focus.
class ApplicationStateQt : public ApplicationState
{
public:
    bool isActive() const override;
};
