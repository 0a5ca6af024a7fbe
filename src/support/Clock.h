#pragma once

// Where the program takes the current time from, so tests can fix "now".
class Clock
{
public:
    virtual ~Clock() = default;
    // Seconds since 1970-01-01 00:00 UTC, with fractions.
    virtual double now() const = 0;

    // The real clock.
    static const Clock& system();
};
