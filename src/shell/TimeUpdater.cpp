#include "shell/TimeUpdater.h"

#include <QEvent>
#include <QTimer>

TimeUpdater::TimeUpdater(int intervalMs, QObject* parent)
    : QObject(parent), m_intervalMs(intervalMs)
{}

void TimeUpdater::start()
{
    stop();
    m_started = true;
    if (!m_shownViewers.isEmpty())
        startPeriod();
}

void TimeUpdater::stop()
{
    m_started = false;
    stopPeriod();
}

void TimeUpdater::addViewer(QObject* viewer, bool shownNow)
{
    viewer->installEventFilter(this);
    connect(viewer, &QObject::destroyed, this, [this, viewer] { setShown(viewer, false); });
    setShown(viewer, shownNow);
}

bool TimeUpdater::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show || event->type() == QEvent::Hide)
        setShown(watched, event->type() == QEvent::Show);
    return QObject::eventFilter(watched, event);
}

void TimeUpdater::setShown(QObject* viewer, bool shown)
{
    const bool wasShown = !m_shownViewers.isEmpty();
    if (shown)
        m_shownViewers.insert(viewer);
    else
        m_shownViewers.remove(viewer);
    if (!m_started || wasShown == !m_shownViewers.isEmpty())
        return;
    if (wasShown) {
        stopPeriod();
        return;
    }
    // Times shown again may have aged while hidden.
    emit updateTime();
    startPeriod();
}

void TimeUpdater::startPeriod()
{
    stopPeriod();
    m_timer = new QTimer(this);
    m_timer->setInterval(m_intervalMs);
    connect(m_timer, &QTimer::timeout, this, &TimeUpdater::onTimer);
    m_timer->start();
}

void TimeUpdater::stopPeriod()
{
    delete m_timer;
    m_timer = nullptr;
}

void TimeUpdater::onTimer()
{
    emit updateTime();
}
