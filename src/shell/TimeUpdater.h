#pragma once

#include <QObject>
#include <QSet>

class QTimer;

// The clock tick that keeps relative times ("5 minutes ago") fresh: updateTime() every ten
// seconds on the main thread while started and while something that shows such times is on
// screen. Nothing ticks while every viewer is hidden, so an idle application is not woken; the
// first viewer to show gets a tick at once, so no time it shows is stale.
class TimeUpdater : public QObject
{
    Q_OBJECT

public:
    static constexpr int intervalMs = 10'000;

    explicit TimeUpdater(int intervalMs = TimeUpdater::intervalMs, QObject* parent = nullptr);

    // (Re)starts the period; the first tick comes one interval later.
    void start();
    void stop();
    // Between start() and stop(), whether or not a viewer is shown.
    bool isRunning() const { return m_started; }
    // Whether the period runs now: started, and a viewer shown.
    bool isTicking() const { return m_timer != nullptr; }

    // Something that shows relative times: it is shown between its Show and Hide events (a
    // widget's, a minimised window's included), and is forgotten when destroyed.
    void addViewer(QObject* viewer, bool shownNow);

signals:
    // The tick, for everything that shows a relative time.
    void updateTime();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The clock tick: tells every listener to refresh its relative times.
    void onTimer();
    void setShown(QObject* viewer, bool shown);
    void startPeriod();
    void stopPeriod();

    int m_intervalMs;
    QTimer* m_timer = nullptr;
    QSet<QObject*> m_shownViewers;
    bool m_started = false;
};
