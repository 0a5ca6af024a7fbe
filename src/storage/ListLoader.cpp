#include "storage/ListLoader.h"

#include "support/Logging.h"
#include "support/SqliteDatabase.h"
#include "support/SqliteStatement.h"

#include <algorithm>
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

struct LoadedRow
{
    bool dated;
    double date;
    qint64 rowId;
    PBContentPtr item;
};

// Newest first as the date index gives them: a NULL date after every date, rows of the same date
// the last written first. Rows come oldest first, from the index or in the order they were
// written, so mostly in order already.
void newestFirst(std::vector<LoadedRow>& rows)
{
    std::reverse(rows.begin(), rows.end());
    const auto newer = [](const LoadedRow& a, const LoadedRow& b) {
        if (a.dated != b.dated)
            return a.dated;
        if (a.date != b.date)
            return a.date > b.date;
        return a.rowId > b.rowId;
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
    while (statement.step()) {
        PBContentPtr item = listedContent(statement);
        if (!item)
            continue;
        ++sizeOf(categoryOfType(item->type()));
        sizeOf(Category::Marked) += item->marked ? 1 : 0;
        rows.push_back(
            {!statement.isNull("date"), item->date, statement.integer("rowid"), std::move(item)});
    }
    newestFirst(rows);
    sizeOf(Category::Recents) = qsizetype(rows.size());
    for (qsizetype c = 0; c < storeListCount; ++c)
        lists[Category(c)].reserve(sizes[c]);
    for (LoadedRow& row : rows) {
        lists[categoryOfType(row.item->type())].append(row.item);
        if (row.item->marked)
            lists[Category::Marked].append(row.item);
        lists[Category::Recents].append(std::move(row.item));
    }
    return lists;
}

PBContentPtr ListLoader::listedContent(const SqliteStatement& row) const
{
    PBContentPtr item = PBContent::withType(row.integer("type"));
    if (!item)
        return nullptr;
    item->setItemUuid(ItemUuid::fromUtf8(row.storedBytes("uuid")));
    item->date = row.real("date");
    item->marked = row.integer("marked") != 0;
    item->setPayloadReader(&m_payloads);
    item->readDetailsFrom(&m_details);
    return item;
}
