#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QStringList>

class ApplicationState;
class Pasteboard;
class PBPasteboardItemObserver;
class QTimer;

// Looks at the clipboard's change count whenever the clipboard announces a change (or, where it
// announces none, every pollIntervalMs) and hands each change made in another application to its
// observers. Changes made while this application is active (its own copy-backs) are skipped, and
// so is the one change after setIgnoreNextCopy(true). Lives on the main thread.
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

    bool ignoreNextCopy() const { return m_ignoreNextCopy; }
    void setIgnoreNextCopy(bool ignore) { m_ignoreNextCopy = ignore; }

    // Puts the payloads on the clipboard under their types (paired by position) as this
    // application's own copy, made while another application may be the active one: the change
    // it causes is skipped, never recorded.
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
    bool m_ignoreNextCopy = false;
};
