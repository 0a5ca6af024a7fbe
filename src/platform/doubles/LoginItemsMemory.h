#pragma once

#include "platform/LoginItems.h"

// A log-in setting that is only remembered: the test double, and the fallback until the
// session's implementation is installed. A test may have it refuse every change.
class LoginItemsMemory : public LoginItems
{
public:
    bool isEnabled() const override { return m_enabled; }
    bool setEnabled(bool enabled) override
    {
        m_lastRefusal = m_refusal;
        if (m_refusal == Refusal::None)
            m_enabled = enabled;
        return m_enabled == enabled;
    }
    Refusal lastRefusal() const override { return m_lastRefusal; }
    QString entryLocation() const override { return {}; }
    void refuseWith(Refusal refusal) { m_refusal = refusal; }

private:
    bool m_enabled = false;
    Refusal m_refusal = Refusal::None;
    Refusal m_lastRefusal = Refusal::None;
};
