#include "storage/HistorySearch.h"

#include "storage/ListedColumns.h"
#include "storage/SearchIndex.h"
#include "support/Logging.h"
#include "support/SqliteDatabase.h"
#include "support/SqliteStatement.h"

#include <algorithm>
#include <numeric>
#include <optional>
#include <vector>

namespace {
// The indexes of the rows, newest first.
std::vector<qsizetype> newestFirst(const QList<FoundRow>& rows)
{
    std::vector<qsizetype> order(size_t(rows.size()));
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(),
              [&rows](qsizetype a, qsizetype b) { return FoundRow::newer(rows[a], rows[b]); });
    return order;
}
} // namespace

HistorySearch::HistorySearch(const QString& dbPath, const SearchIndex& index, Pacing pacing)
    : m_dbPath(dbPath), m_index(index), m_pacing(pacing)
{}

HistorySearch::~HistorySearch() = default;

void HistorySearch::findFoldedRows()
{
    if (open())
        m_index.foldedRows().scan(*m_db);
}

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

bool HistorySearch::run(const QString& text, bool rowIdsInDateOrder, const std::atomic<bool>& stop,
                        const BatchBlock& batch)
{
    if (!open())
        return !stop;
    using Clock = std::chrono::steady_clock;
    Clock::time_point due = Clock::now() + m_pacing.firstWait;
    bool first = true;
    FoundBatch found;
    const auto handOver = [&] {
        batch(std::exchange(found, {}));
        first = false;
        due = Clock::now() + m_pacing.interval;
    };
    const auto added = [&] {
        const qsizetype most = first ? m_pacing.firstRows : m_pacing.maxRows;
        if (found.size() >= most || Clock::now() >= due)
            handOver();
    };
    const auto add = [&](FoundRow row) {
        found.rows.append(std::move(row));
        added();
    };
    m_db->setInterruptCheck([&stop] { return bool(stop); });
    {
        const FoldedRows& folded = m_index.foldedRows();
        const SearchIndex::Statement statement = SearchIndex::searchStatement(
            *m_db, text, m_index.isComplete(), rowIdsInDateOrder, folded);
        const std::unique_ptr<SqliteStatement> check =
            statement.checkFolded ? SearchIndex::rowCheck(*m_db, text) : nullptr;
        // Whether LIKE finds the text in a row the index found: asked only of the rows that hold
        // a character the index folds unlike LIKE.
        const auto holds = [&check](qint64 rowId) {
            check->reset();
            check->bind(1, rowId);
            return check->step();
        };
        using Order = SearchIndex::Order;
        const std::optional<ListedColumns> columns =
            statement.order == Order::IdsNewestFirst
                ? std::nullopt
                : std::optional<ListedColumns>(*statement.rows);
        QList<FoundRow> unordered;
        while (!stop && statement.rows->step()) {
            if (!columns) {
                const qint64 rowId = statement.rows->integer(0);
                if (!check || !folded.mayHold(rowId) || holds(rowId)) {
                    found.rowIds.append(rowId);
                    added();
                }
                continue;
            }
            std::optional<FoundRow> row = columns->read(*statement.rows);
            if (row && statement.order == Order::NewestFirst)
                add(std::move(*row));
            else if (row)
                unordered.append(std::move(*row));
        }
        for (qsizetype index : newestFirst(unordered))
            add(std::move(unordered[index]));
    }
    m_db->setInterruptCheck({});
    if (stop)
        return false;
    if (!found.isEmpty())
        handOver();
    return true;
}
