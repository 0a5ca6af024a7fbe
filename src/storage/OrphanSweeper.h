#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <atomic>
#include <memory>

class Clock;
class DBManager;
class SerialQueue;
class ThreadPoster;

// Removes payload files that belong to no row. A capture writes its files before its row, so a
// program ended between the two (a crash, a kill) leaves files that no deletion and no retention
// pass would ever reach: whatever was copied, kept for good. The sweep runs once, in the
// background, when started; what an earlier run left goes at this start, however recent.
//
// What it never takes: files this run made (changed at or after the sweeper was made, which the
// composition root does before anything is captured), files whose names are not payload names,
// and anything at all while the history holds no row (a history made anew beside a damaged one
// kept aside, whose files may be all that is left of it) or cannot be read.
class OrphanSweeper : public QObject
{
    Q_OBJECT

public:
    // Sweeps the payload folder `folder` against the rows of `store`; both must outlive the
    // sweeper. This run began at `clock`'s time now.
    OrphanSweeper(QString folder, DBManager& store, const Clock& clock, QObject* parent = nullptr);
    // Stops a sweep in progress after its current batch, and waits for it.
    ~OrphanSweeper() override;

    // Starts the sweep on a thread of its own.
    void start();

signals:
    // On the sweeper's thread of creation: how many files the sweep removed, or -1 when it
    // swept nothing because the history was empty or could not be read.
    void finished(int removed);

private:
    int sweep();
    // The names of the files in the folder last changed before `cutoff` (seconds since 1970).
    QStringList filesOlderThan(double cutoff) const;
    // Removes the orphans among these names; false when the rows could not be read.
    bool removeOrphans(const QStringList& names, int& removed);

    const QString m_folder;
    DBManager& m_store;
    // When this run began, as `clock` tells it, in seconds since 1970.
    const double m_runStart;
    ThreadPoster* m_poster; // child
    std::atomic<bool> m_stopping = false;
    std::unique_ptr<SerialQueue> m_queue; // last: its thread ends before the rest goes
};
