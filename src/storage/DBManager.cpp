#include "storage/DBManager.h"

#include "item/ContentDetails.h"
#include "storage/DataManager.h"
#include "storage/HistoryFile.h"
#include "storage/RowDetailCache.h"
#include "storage/SearchIndex.h"
#include "storage/SettingsModel.h"
#include "support/ChannelMessages.h"
#include "support/Clock.h"
#include "support/Logging.h"
#include "support/MessageChannel.h"
#include "support/SerialQueue.h"
#include "support/SqliteDatabase.h"
#include "support/SqliteStatement.h"
#include "support/ThreadPoster.h"

#include <QDateTime>
#include <QHash>
#include <QJsonArray>
#include <QSet>
#include <QThread>
#include <algorithm>
#include <vector>

namespace {
const QString listSeparator = QStringLiteral("|");
constexpr int recentSummaryCount = 20;
// Up to this many deleted items leave the lists row by row, each announced on its own.
constexpr qsizetype rowByRowLimit = 64;

const char* const insertSql =
    "INSERT INTO pb_items (uuid, date, title, type, pb_type, data, app, marked, keyword) "
    "VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?)";
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
const char* const existsSql = "SELECT 1 FROM pb_items WHERE uuid=?";
const char* const deleteSql = "DELETE FROM pb_items WHERE uuid=?";
const char* const markSql = "UPDATE pb_items SET marked=? WHERE uuid=?";
const char* const anyRowSql = "SELECT 1 FROM pb_items LIMIT 1";
const char* const dataOfSql = "SELECT data FROM pb_items WHERE uuid=?";
// What the retention pass may prune, newest first; the caller skips marked rows.
const char* const listedTypes = "type IN (0, 1, 2, 3)";
const QByteArray olderThanSql =
    QByteArray("SELECT * FROM pb_items WHERE ") + listedTypes + " AND ? - date >= ?";
const QByteArray beyondNewestSql = QByteArray("SELECT * FROM pb_items WHERE ") + listedTypes +
                                   " ORDER BY date DESC LIMIT -1 OFFSET ?";
const QByteArray unmarkedSql = QByteArray("SELECT * FROM pb_items WHERE ") + listedTypes;

using SaveMode = SettingsModel::SaveMode;

QStringList splitList(const QString& joined)
{
    return joined.split(listSeparator);
}

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

DBManager::Category categoryOfType(PBContentType type)
{
    return DBManager::Category(int(type) + 1);
}

QJsonArray summaries(const QList<PBContentPtr>& items, qsizetype limit)
{
    QJsonArray array;
    for (qsizetype i = 0; i < items.size() && i < limit; ++i)
        array.append(items[i]->contentExtension().toJson());
    return array;
}

QJsonArray summaries(const QList<PBContentPtr>& items)
{
    return summaries(items, items.size());
}

// A caller may pass no completion; the operation then runs all the same.
template <class Block> Block orNothing(Block block)
{
    if (!block)
        block = [](auto&&...) {};
    return block;
}
} // namespace

DBManager::DBManager(const QString& folder, const Services& services, QObject* parent)
    : QObject(parent), m_dbPath(folder + QStringLiteral("/db.sqlite3")), m_services(services),
      m_dbQueue(std::make_unique<SerialQueue>()),
      m_backgroundQueue(std::make_unique<SerialQueue>()), m_mainPoster(new ThreadPoster(this)),
      m_searchIndex(std::make_unique<SearchIndex>(*m_dbQueue)),
      m_details(std::make_unique<RowDetailCache>(m_dbPath))
{
    qCInfo(lcStorage).noquote() << QStringLiteral("DB Path: %1").arg(m_dbPath);
    m_open = m_dbQueue->sync([this] { return openDatabase(); });
    if (!m_open) {
        qCWarning(lcStorage).noquote() << "cannot open the history:" << m_dbPath;
        return;
    }
    // A history from before the index gains it here, once; loads queue behind it.
    m_dbQueue->async([this] {
        m_listedIndex = m_db->execute(QString::fromLatin1(listedIndexSql));
        if (!m_listedIndex)
            qCWarning(lcStorage).noquote() << "cannot index the history:" << m_db->errorText();
    });
}

DBManager::~DBManager()
{
    // Background blocks use the database queue and the connection: they finish first.
    m_backgroundQueue.reset();
    m_searchIndex.reset();
    m_dbQueue->sync([this] { m_db.reset(); });
}

// On the database queue.
bool DBManager::openDatabase()
{
    HistoryFile file(m_dbPath);
    m_db = file.open(QDateTime::fromMSecsSinceEpoch(qint64(m_services.clock.now() * 1000)));
    m_keptDamagedFile = file.keptCopy();
    if (!m_db->isOpen())
        return false;
    m_searchIndex->attach(*m_db);
    return true;
}

bool DBManager::searchIndexComplete() const
{
    return m_searchIndex->isComplete();
}

void DBManager::insertPbContent(const PBContentPtr& item, InsertBlock block)
{
    block = orNothing(std::move(block));
    if (!item || item->itemUuid().isEmpty() || !m_open || exists(item->uuid()) || item->date == 0) {
        block(false);
        return;
    }
    if (item->title().isNull())
        item->setTitle(QStringLiteral(""));
    if (!item->dataArray()) {
        block(false);
        return;
    }
    m_dbQueue->sync([this, &item, &block] {
        const bool written = writeRow(*item);
        if (written) {
            m_services.channel.passMessageObject(item->contentExtension().toJson(),
                                                 ChannelMessages::inserted);
            // From now on the item is a listed one like those of a load: its details are its
            // row's, kept only while recently used.
            m_details->remember(item->itemUuid(), item->details());
            item->readDetailsFrom(m_details.get());
        }
        postToMain([this, item, written, block = std::move(block)] {
            if (written)
                applyInsert(item);
            updateCounts();
            block(written);
        });
    });
}

bool DBManager::exists(const QString& uuid)
{
    return m_dbQueue->sync([this, &uuid] {
        SqliteStatement statement(*m_db, QString::fromLatin1(existsSql));
        statement.bind(1, uuid);
        return statement.step();
    });
}

bool DBManager::writeRow(const PBContent& item)
{
    const std::shared_ptr<const ContentDetails> details = item.details();
    SqliteStatement statement(*m_db, QString::fromLatin1(insertSql));
    statement.bind(1, item.uuid())
        .bind(2, item.date)
        .bind(3, details->title)
        .bind(4, qint64(item.type()))
        .bind(5, details->pasteboardTypes.join(listSeparator))
        .bindText(6, details->dataPaths.value_or(QByteArray()))
        .bind(7, details->app)
        .bind(8, qint64(item.marked ? 1 : 0))
        .bind(9, details->keyword);
    const bool written = statement.exec();
    if (!written)
        qCWarning(lcStorage).noquote() << "insert failed:" << statement.errorText();
    return written;
}

void DBManager::applyInsert(const PBContentPtr& item)
{
    prependTo(categoryOfType(item->type()), item);
    prependTo(Recents, item);
}

void DBManager::prependTo(Category category, const PBContentPtr& item)
{
    emit itemAboutToBeInserted(category);
    m_lists[category].prepend(item);
    emit itemInserted(category);
}

void DBManager::removeAt(Category category, qsizetype index)
{
    emit itemAboutToBeRemoved(category, index);
    m_lists[category].removeAt(index);
    emit itemRemoved(category, index);
}

PBContentPtr DBManager::ownObject(const PBContentPtr& item) const
{
    const auto& recent = m_lists[Recents];
    const auto found =
        std::find_if(recent.cbegin(), recent.cend(), [&item](const PBContentPtr& listed) {
            return listed == item || listed->itemUuid() == item->itemUuid();
        });
    return found == recent.cend() ? item : *found;
}

// Search results and Recents are both newest first, so each result's row is looked for by a
// binary search on the date, from where the one before it was found: a search over a million
// listed rows costs the GUI thread a few milliseconds, not a pass over the whole list. Where
// Recents is out of date order (the clock was set back) a result may keep its own object.
QList<PBContentPtr> DBManager::ownObjects(QList<PBContentPtr> items) const
{
    const auto& recent = m_lists[Recents];
    qsizetype from = 0;
    for (PBContentPtr& item : items) {
        qsizetype to = recent.size();
        while (from < to) {
            const qsizetype middle = from + (to - from) / 2;
            if (recent[middle]->date > item->date)
                from = middle + 1;
            else
                to = middle;
        }
        for (qsizetype i = from; i < recent.size() && recent[i]->date == item->date; ++i) {
            if (recent[i]->itemUuid() == item->itemUuid()) {
                item = recent[i];
                break;
            }
        }
    }
    return items;
}

void DBManager::searchPbItems(const QString& text, QObject* context, SearchBlock block)
{
    block = orNothing(std::move(block));
    QPointer<QObject> receiver(context);
    const SearchTicket ticket = newSearchTicket(context);
    m_backgroundQueue->async([this, text, context, receiver, ticket, block = std::move(block)] {
        if (*ticket)
            return;
        std::optional<QList<PBContentPtr>> found =
            m_open ? selectMatching(text, *ticket) : QList<PBContentPtr>();
        if (!found)
            return;
        postToMain([this, context, receiver, ticket, block, found = std::move(*found)] {
            if (m_searches.value(context) == ticket)
                m_searches.remove(context);
            if (receiver && !*ticket)
                block(ownObjects(found));
        });
    });
}

DBManager::SearchTicket DBManager::newSearchTicket(const QObject* context)
{
    auto ticket = std::make_shared<std::atomic<bool>>(false);
    SearchTicket& current = m_searches[context];
    if (current)
        *current = true;
    current = ticket;
    return ticket;
}

std::optional<QList<PBContentPtr>> DBManager::selectMatching(const QString& text,
                                                             const std::atomic<bool>& superseded)
{
    return m_dbQueue->sync([this, &text, &superseded]() -> std::optional<QList<PBContentPtr>> {
        QList<PBContentPtr> found;
        m_db->setInterruptCheck([&superseded] { return bool(superseded); });
        {
            const std::unique_ptr<SqliteStatement> statement = m_searchIndex->searchStatement(text);
            while (!superseded && statement->step()) {
                if (PBContentPtr item = contentFromFMResult(*statement))
                    found.append(std::move(item));
            }
        }
        m_db->setInterruptCheck({});
        if (superseded)
            return std::nullopt;
        return found;
    });
}

void DBManager::fetchAllItems(std::function<void()> block)
{
    block = orNothing(std::move(block));
    m_backgroundQueue->async([this, block = std::move(block)] {
        m_dbQueue->sync([this, &block] {
            // Posted from inside the database block, so that inserts queued behind this load
            // are applied on top of its lists, never before them.
            postToMain([this, lists = loadAllRows(), block = std::move(block)]() mutable {
                applyLists(std::move(lists));
                block();
                passRecentItems();
            });
        });
    });
}

void DBManager::applyLists(Lists&& lists)
{
    emit listsAboutToBeReplaced();
    for (int c = 0; c < categoryCount; ++c)
        m_lists[c] = std::move(lists[c]);
    emit listsReplaced();
    updateCounts();
}

DBManager::Lists DBManager::loadAllRows()
{
    Lists lists;
    if (!m_open)
        return lists;
    std::vector<LoadedRow> rows;
    std::array<qsizetype, categoryCount> sizes{};
    SqliteStatement statement(*m_db,
                              QString::fromLatin1(m_listedIndex ? selectListedSql : scanListedSql));
    while (statement.step()) {
        PBContentPtr item = listedContent(statement);
        if (!item)
            continue;
        ++sizes[categoryOfType(item->type())];
        sizes[Marked] += item->marked ? 1 : 0;
        rows.push_back(
            {!statement.isNull("date"), item->date, statement.integer("rowid"), std::move(item)});
    }
    newestFirst(rows);
    sizes[Recents] = qsizetype(rows.size());
    for (int c = 0; c < categoryCount; ++c)
        lists[c].reserve(sizes[c]);
    for (LoadedRow& row : rows) {
        lists[categoryOfType(row.item->type())].append(row.item);
        if (row.item->marked)
            lists[Marked].append(row.item);
        lists[Recents].append(std::move(row.item));
    }
    return lists;
}

PBContentPtr DBManager::listedContent(const SqliteStatement& row) const
{
    PBContentPtr item = PBContent::withType(row.integer("type"));
    if (!item)
        return nullptr;
    item->setItemUuid(ItemUuid::fromUtf8(row.storedBytes("uuid")));
    item->date = row.real("date");
    item->marked = row.integer("marked") != 0;
    item->setPayloadReader(&m_services.dataManager);
    item->readDetailsFrom(m_details.get());
    return item;
}

// NULL columns leave their fields absent.
PBContentPtr DBManager::contentFromFMResult(const SqliteStatement& row) const
{
    PBContentPtr item = PBContent::withType(row.integer("type"));
    if (!item)
        return nullptr;
    item->setUuid(row.text("uuid"));
    item->date = row.real("date");
    item->setTitle(row.text("title"));
    if (!row.isNull("pb_type"))
        item->setPasteboardTypes(splitList(row.text("pb_type")));
    if (!row.isNull("data"))
        item->setJoinedDataPaths(row.bytes("data"));
    item->setPayloadReader(&m_services.dataManager);
    item->setApp(row.text("app"));
    item->marked = row.integer("marked") != 0;
    item->setKeyword(row.text("keyword"));
    return item;
}

void DBManager::updateCounts()
{
    Q_ASSERT(QThread::currentThread() == thread());
    for (Category category : {Image, Text, File, URL, Marked, Recents})
        m_counts[category].set(m_lists[category].size());
}

void DBManager::passRecentItems()
{
    m_services.channel.passMessageObject(summaries(m_lists[Recents], recentSummaryCount),
                                         ChannelMessages::recentItems);
}

void DBManager::postToMain(std::function<void()> fn)
{
    m_mainPoster->post(std::move(fn));
}

void DBManager::passMarkedItems()
{
    m_services.channel.passMessageObject(summaries(m_lists[Marked]), ChannelMessages::markedItems);
}

std::optional<bool> DBManager::hasRows()
{
    return m_dbQueue->sync([this]() -> std::optional<bool> {
        if (!m_open)
            return std::nullopt;
        SqliteStatement statement(*m_db, QString::fromLatin1(anyRowSql));
        const bool found = statement.step();
        if (statement.failed())
            return std::nullopt;
        return found;
    });
}

std::optional<QHash<QString, QByteArray>> DBManager::storedDataPaths(const QStringList& uuids)
{
    return m_dbQueue->sync([this, &uuids]() -> std::optional<QHash<QString, QByteArray>> {
        if (!m_open)
            return std::nullopt;
        QHash<QString, QByteArray> found;
        SqliteStatement statement(*m_db, QString::fromLatin1(dataOfSql));
        for (const QString& uuid : uuids) {
            statement.reset();
            statement.bind(1, uuid);
            if (statement.step())
                found.insert(uuid, statement.bytes("data"));
            else if (statement.failed())
                return std::nullopt;
        }
        return found;
    });
}

QList<PBContentPtr>
DBManager::runForEach(const QList<PBContentPtr>& items, const char* sql,
                      const std::function<void(SqliteStatement&, const PBContent&)>& bind)
{
    if (!m_open)
        return {};
    if (!m_db->execute(QStringLiteral("BEGIN"))) {
        qCWarning(lcStorage).noquote() << "cannot begin a transaction:" << m_db->errorText();
        return {};
    }
    QList<PBContentPtr> succeeded;
    SqliteStatement statement(*m_db, QString::fromLatin1(sql));
    for (const PBContentPtr& item : items) {
        statement.reset();
        bind(statement, *item);
        if (statement.exec())
            succeeded.append(item);
        else
            qCWarning(lcStorage).noquote() << "statement failed:" << statement.errorText();
    }
    statement.reset();
    if (m_db->execute(QStringLiteral("COMMIT")))
        return succeeded;
    // Nothing of the transaction stays: its items count as untouched, so the callers keep their
    // files and lists as they are.
    qCWarning(lcStorage).noquote() << "transaction not committed:" << m_db->errorText();
    if (m_db->inTransaction() && !m_db->execute(QStringLiteral("ROLLBACK")))
        qCWarning(lcStorage).noquote() << "cannot roll back:" << m_db->errorText();
    return {};
}

void DBManager::deletePbContents(const QList<PBContentPtr>& items, std::function<void()> block)
{
    block = orNothing(std::move(block));
    m_dbQueue->sync([this, &items, &block] {
        // The callers go on using these items (the companion's message, a window's list) after
        // their rows are gone.
        for (const PBContentPtr& item : items)
            item->keepDetails();
        const QList<PBContentPtr> deleted = deleteRows(items);
        for (const PBContentPtr& item : deleted)
            m_services.dataManager.deleteDataOfContent(*item);
        postToMain([this, deleted, block = std::move(block)] {
            removeFromLists(deleted);
            updateCounts();
            block();
            m_services.channel.passMessageObject(summaries(deleted), ChannelMessages::deleted);
        });
    });
}

// An item deleted through a search result is another object for the same row: the lists drop
// their own object for it.
void DBManager::removeFromLists(const QList<PBContentPtr>& items)
{
    if (items.isEmpty())
        return;
    if (items.size() > rowByRowLimit) {
        removeAllFromLists(items);
    } else {
        for (const PBContentPtr& item : items) {
            const PBContentPtr own = ownObject(item);
            for (Category category : {Recents, File, Image, Text, URL, Marked}) {
                const qsizetype index = m_lists[category].indexOf(own);
                if (index >= 0)
                    removeAt(category, index);
            }
        }
    }
    emit itemsDeleted(items);
}

// Many rows at once ("Clear" on a long list, a retention pass) go in one sweep of each list,
// announced as a replacement: row by row, each would cost a search of the whole list.
void DBManager::removeAllFromLists(const QList<PBContentPtr>& items)
{
    QSet<ItemUuid> uuids;
    uuids.reserve(items.size());
    for (const PBContentPtr& item : items)
        uuids.insert(item->itemUuid());
    emit listsAboutToBeReplaced();
    for (auto& list : m_lists)
        list.removeIf(
            [&uuids](const PBContentPtr& item) { return uuids.contains(item->itemUuid()); });
    emit listsReplaced();
}

void DBManager::updateFavorite(const QList<PBContentPtr>& items, bool marked,
                               std::function<void()> block)
{
    block = orNothing(std::move(block));
    m_dbQueue->sync([this, &items, marked, &block] {
        const QList<PBContentPtr> updated =
            runForEach(items, markSql, [marked](SqliteStatement& statement, const PBContent& item) {
                statement.bind(1, qint64(marked ? 1 : 0)).bind(2, item.uuid());
            });
        postToMain([this, updated, marked, block = std::move(block)] {
            applyMarks(updated, marked);
            updateCounts();
            block();
            if (!updated.isEmpty())
                m_services.channel.passMessageObject(summaries(updated), ChannelMessages::marked);
        });
    });
}

// A mark set through a search result reaches the store's own object for the row too, so the
// Marked list holds that object and every list shows the mark.
void DBManager::applyMarks(const QList<PBContentPtr>& items, bool marked)
{
    for (const PBContentPtr& item : items) {
        const PBContentPtr own = ownObject(item);
        item->marked = marked;
        own->marked = marked;
        const qsizetype listed = m_lists[Marked].indexOf(own);
        if (!marked && listed >= 0)
            removeAt(Marked, listed);
        else if (marked && listed < 0)
            prependTo(Marked, own);
        emit markChanged(own);
    }
}

void DBManager::syncClearContents(bool terminating)
{
    Q_ASSERT(QThread::currentThread() == thread());
    // The victims are chosen and deleted in one database block, from the rows themselves: an
    // insert whose list change has not reached this thread yet is already a row and counts, and
    // nothing written while the pass runs can slip between the choice and the deletion.
    qsizetype chosen = 0;
    const QList<PBContentPtr> deleted = m_dbQueue->sync([this, terminating, &chosen] {
        const QList<PBContentPtr> victims = retentionVictims(terminating);
        chosen = victims.size();
        return victims.isEmpty() ? victims : deleteRows(victims);
    });
    for (const PBContentPtr& item : deleted)
        m_services.dataManager.deleteDataOfContent(*item);
    const SaveMode saveMode = m_services.settings.saveMode();
    const bool tellCompanion =
        !terminating && (saveMode == SaveMode::ByDuration || saveMode == SaveMode::ByNumber);
    // Posted behind the list changes of everything written before the pass, so the removal
    // applies after them. The lists follow the deletion precisely instead of reloading, which
    // would replace every object a window shows.
    postToMain([this, deleted, tellCompanion] {
        removeFromLists(deleted);
        updateCounts();
        if (tellCompanion)
            passRecentItems();
    });
    qCInfo(lcStorage, "delete data count: %d", int(chosen));
}

// On the database queue. Rows of an unknown type are never listed, so they are neither counted
// nor pruned.
QList<PBContentPtr> DBManager::retentionVictims(bool terminating)
{
    if (!m_open)
        return {};
    std::optional<SqliteStatement> select;
    switch (m_services.settings.saveMode()) {
    case SaveMode::ByDuration:
        select.emplace(*m_db, QString::fromLatin1(olderThanSql));
        select->bind(1, m_services.clock.now()).bind(2, m_services.settings.keepSeconds());
        break;
    case SaveMode::ByNumber:
        select.emplace(*m_db, QString::fromLatin1(beyondNewestSql));
        select->bind(1, qint64(m_services.settings.keepCount()));
        break;
    case SaveMode::ClearWhenExiting:
        if (!terminating)
            return {};
        select.emplace(*m_db, QString::fromLatin1(unmarkedSql));
        break;
    default:
        return {};
    }
    QList<PBContentPtr> victims;
    while (select->step()) {
        if (PBContentPtr item = contentFromFMResult(*select); item && !item->marked)
            victims.append(std::move(item));
    }
    return victims;
}

// On the database queue: rows go in one transaction; an item's payload files go only when its
// row did, so a failed delete never leaves a row whose payloads are gone.
QList<PBContentPtr> DBManager::deleteRows(const QList<PBContentPtr>& items)
{
    return runForEach(items, deleteSql, [](SqliteStatement& statement, const PBContent& item) {
        statement.bind(1, item.uuid());
    });
}
