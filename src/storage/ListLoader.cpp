#include "storage/ListLoader.h"

#include "storage/ListedColumns.h"
#include "support/Logging.h"
#include "support/SqliteDatabase.h"
#include "support/SqliteStatement.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace {
// A load reads only what the lists need, from an index that holds just that: a sixth of the
// table's pages, read straight through instead of following the date index row by row. The
// lists are put in order in memory (see newestFirst). The index is partial on a condition that
// only the load and the per-uuid statements state, so the planner never takes it for the
// statements ordered by date, which keep the date index's order of equal dates. Without it (it
// could not be made) the load reads the table straight through.
const char* const listedIndexSql =
    "CREATE INDEX IF NOT EXISTS pb_items_listed ON pb_items (date, type, marked, uuid) "
    "WHERE uuid IS NOT NULL";
const char* const selectListedSql = "SELECT rowid, uuid, date, type, marked FROM pb_items "
                                    "INDEXED BY pb_items_listed WHERE uuid IS NOT NULL";
const char* const scanListedSql = "SELECT rowid, uuid, date, type, marked FROM pb_items";
// At least the number of rows, found in a few steps.
const char* const mostRowsSql = "SELECT max(rowid) AS n FROM pb_items";
// Room for the rows read is taken up front for up to this many (mapped, it costs no memory until
// rows are written to it); a history with more grows it as it goes.
constexpr qint64 mostReserved = 2'000'000;
// The order of a load, rows without uuid left out below (a condition on uuid here would let the
// planner take the load's index, whose order of equal dates is not the rowid's).
const char* const newestSql = "SELECT rowid, uuid, date, type, marked FROM pb_items WHERE type "
                              "BETWEEN 0 AND 3 ORDER BY date DESC, rowid DESC LIMIT ?";

struct LoadedRow
{
    bool dated;
    ListedRow row;
};

// Newest first as the date index gives them (FoundRow::newer). Rows come oldest first, from the
// index or in the order they were written, so mostly in order already.
void newestFirst(std::vector<LoadedRow>& rows)
{
    std::reverse(rows.begin(), rows.end());
    const auto newer = [](const LoadedRow& a, const LoadedRow& b) {
        return FoundRow::newer(a.dated, a.row.date, a.row.rowId, b.dated, b.row.date, b.row.rowId);
    };
    if (!std::is_sorted(rows.begin(), rows.end(), newer))
        std::sort(rows.begin(), rows.end(), newer);
}
} // namespace

ListLoader::ListLoader(const PayloadReader& payloads, const DetailReader& details)
    : m_payloads(payloads), m_details(details)
{}

void ListLoader::addIndex(SqliteDatabase& db)
{
    m_indexed = db.execute(QString::fromLatin1(listedIndexSql));
    if (!m_indexed)
        qCWarning(lcStorage).noquote() << "cannot index the history:" << db.errorText();
}

CategoryLists ListLoader::load(SqliteDatabase& db) const
{
    CategoryLists lists;
    std::vector<LoadedRow> rows;
    std::array<qsizetype, storeListCount> sizes{};
    const auto sizeOf = [&sizes](Category category) -> qsizetype& {
        return sizes[qsizetype(category)];
    };
    SqliteStatement statement(db, QString::fromLatin1(m_indexed ? selectListedSql : scanListedSql));
    const ListedColumns columns(statement);
    {
        SqliteStatement most(db, QString::fromLatin1(mostRowsSql));
        if (most.step())
            rows.reserve(size_t(std::clamp<qint64>(most.integer("n"), 0, mostReserved)));
    }
    while (statement.step()) {
        const std::optional<FoundRow> found = columns.read(statement);
        if (!found)
            continue;
        const ListedRow row = lists.rowFor(*found);
        ++sizeOf(categoryOfType(PBContentType(row.type)));
        sizeOf(Category::Marked) += row.marked ? 1 : 0;
        rows.push_back({found->dated, row});
    }
    newestFirst(rows);
    sizeOf(Category::Recents) = qsizetype(rows.size());
    for (qsizetype c = 0; c < storeListCount; ++c)
        lists[Category(c)].reserve(sizes[c]);
    for (const LoadedRow& loaded : rows) {
        const ListedRow& row = loaded.row;
        lists[Category::Recents].append(row);
        lists[categoryOfType(PBContentType(row.type))].append(row);
        if (row.marked)
            lists[Category::Marked].append(row);
    }
    return lists;
}

QList<PBContentPtr> ListLoader::newest(SqliteDatabase& db, qsizetype count) const
{
    QList<PBContentPtr> items;
    SqliteStatement statement(db, QString::fromLatin1(newestSql));
    statement.bind(1, qint64(count));
    while (statement.step()) {
        PBContentPtr item = listedContent(statement);
        if (item && !item->uuid().isNull())
            items.append(std::move(item));
    }
    return items;
}

PBContentPtr ListLoader::listedContent(const SqliteStatement& row) const
{
    const std::optional<FoundRow> found = ListedColumns(row).read(row);
    if (!found)
        return nullptr;
    const ListedRow listed{found->rowId, found->date, {}, -1, found->type, found->marked};
    return listedContent(listed, found->uuid);
}

PBContentPtr ListLoader::listedContent(const ListedRow& row, const ItemUuid& uuid) const
{
    PBContentPtr item = PBContent::withType(row.type);
    item->setItemUuid(uuid);
    item->date = row.date;
    item->marked = row.marked;
    item->setPayloadReader(&m_payloads);
    item->readDetailsFrom(&m_details);
    return item;
}
