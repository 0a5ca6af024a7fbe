#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>

// The longest time the GUI thread's event loop went without a turn while this watched, read off a
// 1 ms heartbeat; `beat` counts a turn where the caller knows one happened (after its own work).
class StallWatch
{
public:
    StallWatch()
    {
        m_heartbeat.setInterval(1);
        QObject::connect(&m_heartbeat, &QTimer::timeout, [this] { beat(); });
        m_sinceBeat.start();
        m_heartbeat.start();
    }

    void beat()
    {
        m_worstMs = std::max(m_worstMs, m_sinceBeat.nsecsElapsed() / 1e6);
        m_sinceBeat.restart();
    }
    double worstMs() const { return m_worstMs; }

private:
    QElapsedTimer m_sinceBeat;
    QTimer m_heartbeat;
    double m_worstMs = 0;
};
