#pragma once

#include <QString>

// Whether the application starts when the user logs in.
class LoginItems
{
public:
    // Why the last change did not take effect.
    enum class Refusal {
        None,
        // The entry's place holds one that starts another program.
        ForeignEntry,
        CannotWrite,
        CannotRemove,
    };

    virtual ~LoginItems() = default;

    // True when the user's session starts this application at log-in.
    virtual bool isEnabled() const = 0;

    // Makes the session start this application at log-in, or stop doing so. Returns whether
    // isEnabled() now answers `enabled`; a failure is logged, not reported otherwise.
    virtual bool setEnabled(bool enabled) = 0;
    // Why the last setEnabled() failed (None when it succeeded), so the user can be told.
    virtual Refusal lastRefusal() const = 0;
    // Where the entry lies, for naming it to the user; empty when it is no file.
    virtual QString entryLocation() const = 0;
};
