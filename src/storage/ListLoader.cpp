#include "storage/ListLoader.h"

#include "storage/ListedColumns.h"
#include "support/Logging.h"
#include "support/SqliteDatabase.h"
#include "support/SqliteStatement.h"

#include <QSet>
#include <algorithm>
#include <array>
#include <optional>
#include <sys/mman.h>
#include <unistd.h>

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

// Asks for the list's room to be backed by large pages where the system allows it: a load of a
// million rows otherwise spends a third of its time faulting in 20,000 small pages.
void useLargePages(const QList<ListedRow>& rows)
{
    const auto pageSize = quintptr(sysconf(_SC_PAGESIZE));
    const auto begin = reinterpret_cast<quintptr>(rows.constData());
    const quintptr from = (begin + pageSize - 1) & ~(pageSize - 1);
    const quintptr to = (begin + quintptr(rows.capacity()) * sizeof(ListedRow)) & ~(pageSize - 1);
    if (to > from)
        madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
}

// Newest first as the date index gives them (FoundRow::newer), rows without a date (`undated`,
// by id) after every dated one. Rows come oldest first, from the index or in the order they
// were written, so mostly in order already.
void newestFirst(QList<ListedRow>& rows, const QSet<qint64>& undated)
{
    std::reverse(rows.begin(), rows.end());
    const auto dated = [&undated](const ListedRow& row) {
        return undated.isEmpty() || !undated.contains(row.rowId);
    };
    const auto newer = [&dated](const ListedRow& a, const ListedRow& b) {
        return FoundRow::newer(dated(a), a.date, a.rowId, dated(b), b.date, b.rowId);
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

// The rows are read straight into Recents; the other lists are taken from it once it is in order.
CategoryLists ListLoader::load(SqliteDatabase& db) const
{
    CategoryLists lists;
    QList<ListedRow> recents;
    QSet<qint64> undated;
    std::array<qsizetype, storeListCount> sizes{};
    const auto sizeOf = [&sizes](Category category) -> qsizetype& {
        return sizes[qsizetype(category)];
    };
    SqliteStatement statement(db, QString::fromLatin1(m_indexed ? selectListedSql : scanListedSql));
    const ListedColumns columns(statement);
    {
        SqliteStatement most(db, QString::fromLatin1(mostRowsSql));
        if (most.step())
            recents.reserve(std::clamp<qint64>(most.integer("n"), 0, mostReserved));
    }
    useLargePages(recents);
    while (statement.step()) {
        const std::optional<FoundRow> found = columns.read(statement);
        if (!found)
            continue;
        const ListedRow row = lists.rowFor(*found);
        ++sizeOf(categoryOfType(PBContentType(row.type)));
        sizeOf(Category::Marked) += row.marked ? 1 : 0;
        if (!found->dated)
            undated.insert(row.rowId);
        recents.append(row);
    }
    newestFirst(recents, undated);
    std::array<QList<ListedRow>, storeListCount> others;
    for (Category category :
         {Category::Text, Category::Image, Category::File, Category::URL, Category::Marked}) {
        others[qsizetype(category)].reserve(sizeOf(category));
        useLargePages(others[qsizetype(category)]);
    }
    for (const ListedRow& row : std::as_const(recents)) {
        others[qsizetype(categoryOfType(PBContentType(row.type)))].append(row);
        if (row.marked)
            others[qsizetype(Category::Marked)].append(row);
    }
    for (qsizetype c = 0; c < storeListCount; ++c) {
        if (Category(c) != Category::Recents)
            lists[Category(c)].assign(std::move(others[c]));
    }
    lists[Category::Recents].assign(std::move(recents));
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
