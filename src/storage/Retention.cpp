#include "storage/Retention.h"

#include "storage/DBManager.h"
#include "storage/SettingsModel.h"
#include "support/Clock.h"
#include "support/Logging.h"
#include "support/SqliteDatabase.h"
#include "support/SqliteStatement.h"

#include <QPointer>
#include <QThread>
#include <optional>

namespace {
// What the pass may prune, newest first; the pass skips marked rows.
const char* const listedTypes = "type IN (0, 1, 2, 3)";
const QByteArray olderThanSql =
    QByteArray("SELECT * FROM pb_items WHERE ") + listedTypes + " AND ? - date >= ?";
const QByteArray beyondNewestSql = QByteArray("SELECT * FROM pb_items WHERE ") + listedTypes +
                                   " ORDER BY date DESC LIMIT -1 OFFSET ?";
const QByteArray unmarkedSql = QByteArray("SELECT * FROM pb_items WHERE ") + listedTypes;

using SaveMode = SettingsModel::SaveMode;
} // namespace

Retention::Retention(DBManager& store, const SettingsModel& settings, const Clock& clock,
                     QObject* parent)
    : QObject(parent), m_store(store), m_settings(settings), m_clock(clock)
{}

void Retention::syncClearContents(bool terminating)
{
    Q_ASSERT(QThread::currentThread() == thread());
    const SaveMode saveMode = m_settings.saveMode();
    const bool pruning =
        !terminating && (saveMode == SaveMode::ByDuration || saveMode == SaveMode::ByNumber);
    const QPointer<Retention> self(this);
    // The victims are chosen and deleted in one database block, from the rows themselves: an
    // insert whose list change has not reached this thread yet is already a row and counts, and
    // nothing written while the pass runs can slip between the choice and the deletion.
    const qsizetype chosen = m_store.deleteChosenRows(
        [this, terminating](SqliteDatabase& db) { return victims(db, terminating); },
        [self, pruning](const QList<PBContentPtr>&) {
            if (self && pruning)
                emit self->listsPruned();
        });
    qCInfo(lcStorage, "delete data count: %d", int(chosen));
}

QList<PBContentPtr> Retention::victims(SqliteDatabase& db, bool terminating) const
{
    if (!m_store.isOpen())
        return {};
    std::optional<SqliteStatement> select;
    switch (m_settings.saveMode()) {
    case SaveMode::ByDuration:
        select.emplace(db, QString::fromLatin1(olderThanSql));
        select->bind(1, m_clock.now()).bind(2, m_settings.keepSeconds());
        break;
    case SaveMode::ByNumber:
        select.emplace(db, QString::fromLatin1(beyondNewestSql));
        select->bind(1, qint64(m_settings.keepCount()));
        break;
    case SaveMode::ClearWhenExiting:
        if (!terminating)
            return {};
        select.emplace(db, QString::fromLatin1(unmarkedSql));
        break;
    default:
        return {};
    }
    QList<PBContentPtr> victims;
    while (select->step()) {
        if (PBContentPtr item = m_store.contentFromFMResult(*select); item && !item->marked)
            victims.append(std::move(item));
    }
    return victims;
}
