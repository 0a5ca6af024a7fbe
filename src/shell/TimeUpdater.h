#pragma once

#include <QObject>

class QTimer;

// The clock tick that keeps relative times ("5 minutes ago") fresh: updateTime() every ten
// seconds on the main thread while started.
class TimeUpdater : public QObject
{
    Q_OBJECT

public:
    static constexpr int intervalMs = 10'000;

    explicit TimeUpdater(int intervalMs = TimeUpdater::intervalMs, QObject* parent = nullptr);
    // The application's clock tick, as the composition root built it.
    static TimeUpdater& sharedUpdater();

    // (Re)starts the period; the first tick comes one interval later.
    void start();
    void stop();
    bool isRunning() const { return m_timer != nullptr; }

signals:
    // The tick, for everything that shows a relative time.
    void updateTime();

private:
    void onTimer();

    int m_intervalMs;
    QTimer* m_timer = nullptr;
};
