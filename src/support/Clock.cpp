#include "support/Clock.h"

#include <QDateTime>

namespace {
class SystemClock : public Clock
{
public:
    double now() const override { return QDateTime::currentMSecsSinceEpoch() / 1000.0; }
};
} // namespace

const Clock& Clock::system()
{
    static const SystemClock clock;
    return clock;
}
