#include "recording/PBWatcher.h"

#include "platform/ApplicationState.h"
#include "platform/Pasteboard.h"
#include "recording/PBPasteboardItemObserver.h"
#include "support/Logging.h"

#include <QTimer>

PBWatcher::PBWatcher(Pasteboard& pasteboard, const ApplicationState& applicationState,
                     QObject* parent)
    : QObject(parent), m_pasteboard(pasteboard), m_applicationState(applicationState)
{}

PBWatcher::~PBWatcher()
{
    stopWatch();
}

void PBWatcher::startWatch()
{
    stopWatch();
    m_pbChangeCount = m_pasteboard.changeCount();
    // Where the clipboard announces its changes no timer runs: a change is handled the moment it
    // is known, and nothing wakes the process while the clipboard stays as it is.
    m_announced = m_pasteboard.setChangeHandler([this] { watchLoop(); });
    if (!m_announced) {
        m_timer = new QTimer(this);
        m_timer->setInterval(pollIntervalMs);
        connect(m_timer, &QTimer::timeout, this, &PBWatcher::watchLoop);
        m_timer->start();
    }
    setWatching(true);
}

void PBWatcher::stopWatch()
{
    if (m_announced) {
        m_pasteboard.setChangeHandler({});
        m_announced = false;
    }
    if (m_timer) {
        m_timer->stop();
        delete m_timer;
        m_timer = nullptr;
    }
    setWatching(false);
}

void PBWatcher::setWatching(bool watching)
{
    m_watching = watching;
    qCInfo(lcCapture, watching ? "Start Watching" : "Stop Watching");
    emit watchingChanged(watching);
}

void PBWatcher::writeWithoutRecording(const QStringList& types, const QList<QByteArray>& payloads)
{
    // Counted before the write, which a clipboard may announce before it returns.
    ++m_changesToSkip;
    if (!m_pasteboard.writeItem(types, payloads))
        --m_changesToSkip;
}

void PBWatcher::addObserver(PBPasteboardItemObserver* observer)
{
    if (observer && !m_observers.contains(observer))
        m_observers.append(observer);
}

void PBWatcher::removeObserver(PBPasteboardItemObserver* observer)
{
    m_observers.removeAll(observer);
}

void PBWatcher::watchLoop()
{
    const qint64 count = m_pasteboard.changeCount();
    if (count == m_pbChangeCount)
        return;
    qCInfo(lcCapture, "pasteboard.changeCount: %lld", static_cast<long long>(count));
    m_pbChangeCount = count;

    // Whatever happens below, this change has been seen: a skipped change is skipped for good.
    // A clipboard that announces its changes does so one at a time in the order they were made,
    // so the change to skip is the oldest own write's, however the focus has moved since (only a
    // copy made elsewhere in the instant before an own write, not yet announced, would be taken
    // for it). A look at a polled count takes in every write made before it.
    if (m_changesToSkip > 0) {
        m_changesToSkip = m_announced ? m_changesToSkip - 1 : 0;
        return;
    }
    if (m_applicationState.isActive())
        return;

    const QList<PasteboardItem> items = m_pasteboard.pasteboardItems();
    const QList<PBPasteboardItemObserver*> observers = m_observers;
    for (PBPasteboardItemObserver* observer : observers)
        observer->pasteboardItemChanged(items);
}
