#pragma once

#include "platform/ApplicationState.h"

// An active state that is simply set: the test double, and the fallback where the platform
// cannot tell.
class ApplicationStateMemory : public ApplicationState
{
public:
    bool isActive() const override { return m_active; }
    void setActive(bool active) { m_active = active; }

private:
    bool m_active = false;
};
