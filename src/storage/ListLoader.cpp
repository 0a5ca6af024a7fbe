#include "storage/ListLoader.h"

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
// The order of a load, rows without uuid left out below (a condition on uuid here would let the
// planner take the load's index, whose order of equal dates is not the rowid's).
const char* const newestSql = "SELECT rowid, uuid, date, type, marked FROM pb_items WHERE type "
                              "BETWEEN 0 AND 3 ORDER BY date DESC, rowid DESC LIMIT ?";

struct LoadedRow
{
    bool dated;
    ListedRow row;
};

// The columns of a statement that yields rowid, uuid, date, type and marked, looked up once for
// all its rows.
struct ListedColumns
{
    explicit ListedColumns(const SqliteStatement& statement)
        : rowId(statement.columnIndex("rowid")), uuid(statement.columnIndex("uuid")),
          date(statement.columnIndex("date")), type(statement.columnIndex("type")),
          marked(statement.columnIndex("marked"))
    {}
    int rowId;
    int uuid;
    int date;
    int type;
    int marked;
};

// The current row as listed, but for its uuid; nullopt for an unknown type number.
std::optional<ListedRow> listedRow(const SqliteStatement& row, const ListedColumns& columns)
{
    const qint64 type = row.integer(columns.type);
    if (type < PBContentTypeText || type > PBContentTypeURL)
        return std::nullopt;
    return ListedRow{row.integer(columns.rowId),      row.real(columns.date), {}, -1, qint8(type),
                     row.integer(columns.marked) != 0};
}

// Newest first as the date index gives them: a NULL date after every date, rows of the same date
// the last written first. Rows come oldest first, from the index or in the order they were
// written, so mostly in order already.
void newestFirst(std::vector<LoadedRow>& rows)
{
    std::reverse(rows.begin(), rows.end());
    const auto newer = [](const LoadedRow& a, const LoadedRow& b) {
        if (a.dated != b.dated)
            return a.dated;
        if (a.row.date != b.row.date)
            return a.row.date > b.row.date;
        return a.row.rowId > b.row.rowId;
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
    while (statement.step()) {
        const std::optional<ListedRow> listed = listedRow(statement, columns);
        if (!listed)
            continue;
        const ListedRow row =
            lists.rowFor(listed->rowId, listed->date, PBContentType(listed->type), listed->marked,
                         ItemUuid::fromUtf8(statement.storedBytes(columns.uuid)));
        ++sizeOf(categoryOfType(PBContentType(row.type)));
        sizeOf(Category::Marked) += row.marked ? 1 : 0;
        rows.push_back({!statement.isNull(columns.date), row});
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
    const ListedColumns columns(row);
    const std::optional<ListedRow> listed = listedRow(row, columns);
    if (!listed)
        return nullptr;
    return listedContent(*listed, ItemUuid::fromUtf8(row.storedBytes(columns.uuid)));
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
