#pragma once

#include "item/PBContent.h"

#include <QList>
#include <QObject>

class Clock;
class DBManager;
class SettingsModel;
class SqliteDatabase;

// The retention pass: prunes the history by the record-keeping settings, as they stand when it
// runs, when the application loses focus and once when it terminates. Marked items are never
// pruned. Main thread.
class Retention : public QObject
{
    Q_OBJECT

public:
    // All must outlive the pass.
    Retention(DBManager& store, const SettingsModel& settings, const Clock& clock,
              QObject* parent = nullptr);

    // Prunes the rows the settings no longer keep, with their payload files; `terminating` is
    // true at the end of the run, the only time "clear when exiting" prunes. Returns when every
    // deletion is done; the lists follow on the main thread.
    void syncClearContents(bool terminating);

signals:
    // A pass by duration or by number while the application runs has taken what it pruned out
    // of the lists (none at termination, nor under the other settings).
    void listsPruned();

private:
    // On the database queue. Rows of an unknown type are never listed, so they are neither
    // counted nor pruned.
    QList<PBContentPtr> victims(SqliteDatabase& db, bool terminating) const;

    DBManager& m_store;
    const SettingsModel& m_settings;
    const Clock& m_clock;
};
