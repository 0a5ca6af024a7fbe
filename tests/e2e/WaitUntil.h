#pragma once

#include <QDeadlineTimer>
#include <QTest>
#include <functional>

// Runs the event loop until the condition holds (true) or the time is up (false).
inline bool waitUntil(const std::function<bool()>& condition, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(20);
    }
    return true;
}
