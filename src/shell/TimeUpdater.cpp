#include "shell/TimeUpdater.h"

#include "support/SharedInstance.h"

#include <QTimer>

TimeUpdater::TimeUpdater(int intervalMs, QObject* parent)
    : QObject(parent), m_intervalMs(intervalMs)
{}

TimeUpdater& TimeUpdater::sharedUpdater()
{
    return SharedInstance<TimeUpdater>::instance("TimeUpdater::sharedUpdater()");
}

void TimeUpdater::start()
{
    stop();
    m_timer = new QTimer(this);
    m_timer->setInterval(m_intervalMs);
    connect(m_timer, &QTimer::timeout, this, &TimeUpdater::onTimer);
    m_timer->start();
}

void TimeUpdater::stop()
{
    delete m_timer;
    m_timer = nullptr;
}

void TimeUpdater::onTimer()
{
    emit updateTime();
}
