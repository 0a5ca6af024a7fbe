#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QStringList>
#include <algorithm>

class ApplicationState;
class Pasteboard;
class PBPasteboardItemObserver;
class QTimer;

// Looks at the clipboard's change count whenever the clipboard announces a change (or, where it
// announces none, every pollIntervalMs) and hands each change made in another application to its
// observers. It is the one place that tells this application's own changes from the user's: the
// change each writeWithoutRecording() causes is skipped whatever has the focus, and so is every
// change made while this application is active (a copy in its own windows). Lives on the main
// thread.
class PBWatcher : public QObject
{
    Q_OBJECT

public:
    static constexpr int pollIntervalMs = 100;

    PBWatcher(Pasteboard& pasteboard, const ApplicationState& applicationState,
              QObject* parent = nullptr);
    ~PBWatcher() override;

    // Starts watching from the clipboard's current count, so what it holds now is never passed
    // on. Restarting takes the count afresh.
    void startWatch();
    void stopWatch();
    bool watching() const { return m_watching; }

    // Whether a change is still to be skipped: the next one then is.
    bool ignoreNextCopy() const { return m_changesToSkip > 0; }
    // True makes sure the next change is skipped; false skips none, own writes not yet seen
    // included.
    void setIgnoreNextCopy(bool ignore)
    {
        m_changesToSkip = ignore ? std::max(m_changesToSkip, 1) : 0;
    }

    // Puts the payloads on the clipboard under their types (paired by position) as this
    // application's own copy, whichever application is active: the change it causes is skipped,
    // never recorded. Every copy-back goes through here. Each write that changes the clipboard
    // adds one change to skip, so two in a row skip their two changes and no more.
    void writeWithoutRecording(const QStringList& types, const QList<QByteArray>& payloads);

    // Observers are not owned; adding one twice keeps one entry.
    void addObserver(PBPasteboardItemObserver* observer);
    void removeObserver(PBPasteboardItemObserver* observer);

    // One look at the change count; called on each announced change, or by the poll timer.
    void watchLoop();

signals:
    void watchingChanged(bool watching);

private:
    void setWatching(bool watching);

    Pasteboard& m_pasteboard;
    const ApplicationState& m_applicationState;
    QList<PBPasteboardItemObserver*> m_observers;
    QTimer* m_timer = nullptr;
    // Whether the pasteboard calls watchLoop() on each change, so that no timer runs.
    bool m_announced = false;
    qint64 m_pbChangeCount = 0;
    bool m_watching = false;
    // Changes still to be skipped, one for each own write not yet seen.
    int m_changesToSkip = 0;
};
