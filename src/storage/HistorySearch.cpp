#include "storage/HistorySearch.h"

#include "storage/ListLoader.h"
#include "storage/SearchIndex.h"
#include "support/Logging.h"
#include "support/SqliteDatabase.h"
#include "support/SqliteStatement.h"

HistorySearch::HistorySearch(const QString& dbPath, const SearchIndex& index,
                             const ListLoader& loader, Pacing pacing)
    : m_dbPath(dbPath), m_index(index), m_loader(loader), m_pacing(pacing)
{}

HistorySearch::~HistorySearch() = default;

bool HistorySearch::open()
{
    if (m_db)
        return true;
    auto db = std::make_unique<SqliteDatabase>();
    if (!db->open(m_dbPath)) {
        qCWarning(lcStorage).noquote() << "cannot search the history:" << db->errorText();
        return false;
    }
    m_db = std::move(db);
    return true;
}

bool HistorySearch::run(const QString& text, const std::atomic<bool>& stop, const BatchBlock& batch)
{
    if (!open())
        return !stop;
    using Clock = std::chrono::steady_clock;
    Clock::time_point due = Clock::now() + m_pacing.firstWait;
    bool first = true;
    QList<PBContentPtr> found;
    const auto handOver = [&] {
        batch(std::exchange(found, {}));
        first = false;
        due = Clock::now() + m_pacing.interval;
    };
    m_db->setInterruptCheck([&stop] { return bool(stop); });
    {
        const std::unique_ptr<SqliteStatement> statement =
            SearchIndex::searchStatement(*m_db, text, m_index.isComplete());
        while (!stop && statement->step()) {
            if (PBContentPtr item = m_loader.listedContent(*statement))
                found.append(std::move(item));
            const qsizetype most = first ? m_pacing.firstRows : m_pacing.maxRows;
            if (!found.isEmpty() && (found.size() >= most || Clock::now() >= due))
                handOver();
        }
    }
    m_db->setInterruptCheck({});
    if (stop)
        return false;
    if (!found.isEmpty())
        handOver();
    return true;
}
