#pragma once

#include <QObject>

class Clock;
class DBManager;

// The history's first load-all, started when this is made, so that the companion client's
// answers and windows made at any later moment share one load instead of each starting its own.
// Its end is logged as "loading time %fs" with the seconds it took. Main thread only.
class HistoryLoad : public QObject
{
    Q_OBJECT

public:
    // Starts loading the store's lists, timed by `clock`; both must outlive the load.
    HistoryLoad(DBManager& dbManager, const Clock& clock, QObject* parent = nullptr);

    bool isDone() const { return m_done; }

signals:
    // The lists and counts are loaded (once).
    void done();

private:
    bool m_done = false;
};
