#pragma once

#include "support/Clock.h"

// A clock that says what the test wants; `time` may be changed while it is in use.
class FixedClock : public Clock
{
public:
    explicit FixedClock(double time = 1.7e9) : time(time) {}
    double now() const override { return time; }

    double time;
};
