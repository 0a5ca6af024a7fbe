#pragma once

// Whether the application starts when the user logs in.
class LoginItems
{
public:
    virtual ~LoginItems() = default;

    // True when the user's session starts this application at log-in.
    virtual bool isEnabled() const = 0;

    // Makes the session start this application at log-in, or stop doing so. Returns whether
    // isEnabled() now answers `enabled`; a failure is logged, not reported otherwise.
    virtual bool setEnabled(bool enabled) = 0;
};
