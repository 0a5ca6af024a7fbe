#pragma once

#include "platform/LoginItems.h"

// A log-in setting that is only remembered: the test double, and the fallback until the
// session's implementation is installed.
class LoginItemsMemory : public LoginItems
{
public:
    bool isEnabled() const override { return m_enabled; }
    bool setEnabled(bool enabled) override
    {
        m_enabled = enabled;
        return true;
    }

private:
    bool m_enabled = false;
};
