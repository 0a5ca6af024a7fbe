#include "storage/DBManager.h"

#include "item/ContentDetails.h"
#include "storage/BatchesInFlight.h"
#include "storage/DataManager.h"
#include "storage/HistoryFile.h"
#include "storage/HistorySearch.h"
#include "storage/ListLoader.h"
#include "storage/ListedObjects.h"
#include "storage/RowDetailCache.h"
#include "storage/SearchIndex.h"
#include "support/Clock.h"
#include "support/Logging.h"
#include "support/SerialQueue.h"
#include "support/SqliteDatabase.h"
#include "support/SqliteStatement.h"
#include "support/ThreadPoster.h"

#include <QDateTime>
#include <QHash>
#include <QPointer>
#include <QSet>
#include <QThread>

namespace {
const QString listSeparator = QStringLiteral("|");
// Up to this many deleted items leave the lists row by row, each announced on its own.
constexpr qsizetype rowByRowLimit = 64;

const char* const insertSql =
    "INSERT INTO pb_items (uuid, date, title, type, pb_type, data, app, marked, keyword) "
    "VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?)";
const char* const existsSql = "SELECT 1 FROM pb_items WHERE uuid=?";
const char* const deleteSql = "DELETE FROM pb_items WHERE uuid=?";
const char* const markSql = "UPDATE pb_items SET marked=? WHERE uuid=?";
const char* const anyRowSql = "SELECT 1 FROM pb_items LIMIT 1";
const char* const dataOfSql = "SELECT data FROM pb_items WHERE uuid=?";

QStringList splitList(const QString& joined)
{
    return joined.split(listSeparator);
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
      m_details(std::make_unique<RowDetailCache>(m_dbPath)),
      m_loader(std::make_unique<ListLoader>(services.dataManager, *m_details)),
      m_search(std::make_unique<HistorySearch>(m_dbPath, *m_searchIndex)),
      m_objects(std::make_unique<ListedObjects>(*m_loader))
{
    qCInfo(lcStorage).noquote() << QStringLiteral("DB Path: %1").arg(m_dbPath);
    m_open = m_dbQueue->sync([this] { return openDatabase(); });
    if (!m_open) {
        qCWarning(lcStorage).noquote() << "cannot open the history:" << m_dbPath;
        return;
    }
    // A history from before the index gains it here, once; loads queue behind it.
    m_dbQueue->async([this] { m_loader->addIndex(*m_db); });
}

DBManager::~DBManager()
{
    // Background blocks use the database queue and the connection: they finish first. A search
    // waiting for the main thread to take its batches in would wait for ever.
    for (const SearchTicket& ticket : std::as_const(m_searches))
        *ticket = true;
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
        const std::optional<qint64> rowId = writeRow(*item);
        const bool written = rowId.has_value();
        if (written) {
            // From now on the item is a listed one like those of a load: its details are its
            // row's, kept only while recently used.
            m_details->remember(item->itemUuid(), item->details());
            item->readDetailsFrom(m_details.get());
        }
        postToMain([this, item, rowId, written, block = std::move(block)] {
            if (written)
                applyInsert(item, *rowId);
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

std::optional<qint64> DBManager::writeRow(const PBContent& item)
{
    const std::shared_ptr<const ContentDetails> details = item.details();
    return m_searchIndex->foldedRows().write(
        details->keyword, [this, &item, &details] { return insertRow(item, *details); });
}

std::optional<qint64> DBManager::insertRow(const PBContent& item, const ContentDetails& details)
{
    SqliteStatement statement(*m_db, QString::fromLatin1(insertSql));
    statement.bind(1, item.uuid())
        .bind(2, item.date)
        .bind(3, details.title)
        .bind(4, qint64(item.type()))
        .bind(5, details.pasteboardTypes.join(listSeparator))
        .bindText(6, details.dataPaths.value_or(QByteArray()))
        .bind(7, details.app)
        .bind(8, qint64(item.marked ? 1 : 0))
        .bind(9, details.keyword);
    if (statement.exec())
        return m_db->lastInsertRowId();
    qCWarning(lcStorage).noquote() << "insert failed:" << statement.errorText();
    return std::nullopt;
}

// The item is its row's object from the start, so the lists' announcements hand it out.
void DBManager::applyInsert(const PBContentPtr& item, qint64 rowId)
{
    const ListedRow row = m_lists.rowFor(
        {rowId, item->date, true, qint8(item->type()), item->marked, item->itemUuid()});
    m_objects->adopt(rowId, item);
    prependTo(categoryOfType(item->type()), row);
    prependTo(Category::Recents, row);
}

void DBManager::prependTo(Category category, const ListedRow& row)
{
    emit itemAboutToBeInserted(category);
    m_lists[category].prepend(row);
    emit itemInserted(category);
}

void DBManager::removeAt(Category category, qsizetype index)
{
    emit itemAboutToBeRemoved(category, index);
    m_lists[category].removeAt(index);
    emit itemRemoved(category, index);
}

void DBManager::searchPbItems(const QString& text, QObject* context, SearchBlock block)
{
    block = orNothing(std::move(block));
    auto found = std::make_shared<QList<PBContentPtr>>();
    streamSearch(text, context,
                 [this, found, block = std::move(block)](const QList<ListedRow>& batch, bool last) {
                     for (const ListedRow& row : batch)
                         found->append(objectFor(row));
                     if (last)
                         block(std::exchange(*found, {}));
                 });
}

void DBManager::streamSearch(const QString& text, QObject* context, BatchBlock block)
{
    const auto shared = std::make_shared<BatchBlock>(orNothing(std::move(block)));
    const SearchTicket ticket = newSearchTicket(context);
    // A search of a common word finds rows faster than the main thread takes them in: it waits
    // while two of its batches do, so that no more of its rows than that are held at a time.
    const auto inFlight = std::make_shared<BatchesInFlight>(2);
    const auto deliver = [this, context, receiver = QPointer<QObject>(context), ticket, shared,
                          inFlight](FoundBatch batch, bool last) {
        postToMain([this, context, receiver, ticket, shared, batch = std::move(batch), last,
                    held = inFlight->hold()] {
            if (last && m_searches.value(context) == ticket)
                m_searches.remove(context);
            // Matched to the lists' rows here, where the lists may be read.
            if (receiver && !*ticket)
                (*shared)(listedRows(batch), last);
        });
    };
    m_backgroundQueue->async([this, text, rowIdsInDateOrder = rowIdsInDateOrder(), ticket, deliver,
                              inFlight] {
        if (*ticket)
            return;
        const auto handOver = [&](FoundBatch batch) {
            if (inFlight->waitForRoom(*ticket))
                deliver(std::move(batch), false);
        };
        const bool finished = !m_open || m_search->run(text, rowIdsInDateOrder, *ticket, handOver);
        if (finished)
            deliver({}, true);
        // Once, after the first search that needs them: until then, such searches check
        // every row the index finds with LIKE.
        if (m_open && finished && SearchIndex::findsExactly(text) && FoldedRows::concerns(text))
            m_search->findFoldedRows();
    });
}

bool DBManager::rowIdsInDateOrder() const
{
    return m_loaded && m_lists[Category::Recents].isInRowIdOrder();
}

void DBManager::stopSearch(const QObject* context)
{
    if (const SearchTicket ticket = m_searches.take(context))
        *ticket = true;
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

void DBManager::fetchAllItems(std::function<void()> block)
{
    Q_ASSERT(QThread::currentThread() == thread());
    block = orNothing(std::move(block));
    ++m_loading;
    const double start = m_services.clock.now();
    m_backgroundQueue->async([this, block = std::move(block), start] {
        m_dbQueue->sync([this, &block, start] {
            CategoryLists lists = m_open ? m_loader->load(*m_db) : CategoryLists();
            // Posted from inside the database block, so that inserts queued behind this load
            // are applied on top of its lists, never before them.
            postToMain([this, lists = std::move(lists), block = std::move(block), start]() mutable {
                --m_loading;
                applyLists(std::move(lists));
                m_loaded = true;
                qCInfo(lcStorage, "loading time %fs", m_services.clock.now() - start);
                for (const auto& waiting : std::exchange(m_awaitingLoad, {}))
                    waiting();
                block();
                emit itemsFetched();
            });
        });
    });
}

void DBManager::loadOnce(std::function<void()> block)
{
    block = orNothing(std::move(block));
    if (m_loaded) {
        block();
        return;
    }
    m_awaitingLoad.append(std::move(block));
    if (m_loading == 0)
        fetchAllItems({});
}

void DBManager::applyLists(CategoryLists&& lists)
{
    emit listsAboutToBeReplaced();
    m_lists = std::move(lists);
    m_objects->clear();
    emit listsReplaced();
    updateCounts();
}

PBContentPtr DBManager::itemAt(Category category, qsizetype index)
{
    return objectFor(m_lists[category][index]);
}

PBContentPtr DBManager::objectFor(const ListedRow& row)
{
    return m_objects->object(row, m_lists.uuidOf(row));
}

qsizetype DBManager::indexOfUuid(Category category, const ItemUuid& uuid) const
{
    return m_lists.indexOfUuid(category, uuid);
}

QList<PBContentPtr> DBManager::newestItems(qsizetype count) const
{
    SqliteDatabase db;
    if (!m_open || !db.open(m_dbPath))
        return {};
    return m_loader->newest(db, count);
}

QList<PBContentPtr> DBManager::items(Category category)
{
    QList<PBContentPtr> items;
    items.reserve(listLength(category));
    for (qsizetype i = 0; i < listLength(category); ++i)
        items.append(itemAt(category, i));
    return items;
}

// Results come newest first, as Recents lists them, so each is looked for just past the one
// before it first; a search of a common word finds most of the rows there.
QList<ListedRow> DBManager::listedRows(const FoundBatch& found)
{
    const PackedList& recents = m_lists[Category::Recents];
    QList<ListedRow> rows;
    rows.reserve(found.size());
    qsizetype next = 0;
    const auto listed = [&](qsizetype index) {
        if (index >= 0) {
            next = index + 1;
            rows.append(recents[index]);
        }
        return index >= 0;
    };
    // A row known by its id alone and not listed is gone, or was written after the search began
    // and is not listed yet.
    for (const qint64 rowId : found.rowIds)
        listed(recents.indexNearRowId(next, rowId));
    for (const FoundRow& row : found.rows) {
        if (!listed(recents.indexNear(next, row.rowId, row.date)))
            rows.append(m_lists.rowFor(row));
    }
    return rows;
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
    for (Category category : {Category::Image, Category::Text, Category::File, Category::URL,
                              Category::Marked, Category::Recents})
        count(category).set(m_lists[category].size());
}

void DBManager::postToMain(std::function<void()> fn)
{
    m_mainPoster->post(std::move(fn));
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
    const auto given = [&items](SqliteDatabase&) {
        // The callers go on using these items (the companion's message, a window's list) after
        // their rows are gone.
        for (const PBContentPtr& item : items)
            item->keepDetails();
        return items;
    };
    deleteChosenRows(given, [this, block = std::move(block)](const QList<PBContentPtr>& deleted) {
        block();
        emit deletionFinished(deleted);
    });
}

qsizetype DBManager::deleteChosenRows(const RowChooser& choose, DeletedBlock block)
{
    return m_dbQueue->sync([this, &choose, &block] {
        const QList<PBContentPtr> chosen = choose(*m_db);
        const QList<PBContentPtr> deleted = chosen.isEmpty() ? chosen : deleteRows(chosen);
        for (const PBContentPtr& item : deleted)
            m_services.dataManager.deleteDataOfContent(*item);
        // Posted behind the list changes of everything written before, so the removal applies
        // after them.
        postToMain([this, deleted, block = std::move(block)] {
            removeFromLists(deleted);
            updateCounts();
            block(deleted);
        });
        return chosen.size();
    });
}

void DBManager::removeFromLists(const QList<PBContentPtr>& items)
{
    if (items.isEmpty())
        return;
    if (items.size() > rowByRowLimit) {
        removeAllFromLists(items);
    } else {
        for (const PBContentPtr& item : items)
            removeFromLists(*item);
    }
    emit itemsDeleted(items);
}

// An item deleted through another object for its row (a search result, an object from before a
// load) takes the row out of the lists all the same.
void DBManager::removeFromLists(const PBContent& item)
{
    const qsizetype index = m_lists.indexOf(Category::Recents, item);
    if (index < 0)
        return;
    const ListedRow row = m_lists[Category::Recents][index];
    removeAt(Category::Recents, index);
    for (Category category : {categoryOfType(PBContentType(row.type)), Category::Marked}) {
        const qsizetype at = m_lists[category].indexOf(row.rowId, row.date);
        if (at >= 0)
            removeAt(category, at);
    }
    m_objects->forget(row.rowId);
}

// Many rows at once ("Clear" on a long list, a retention pass) go in one sweep of each list,
// announced as a replacement: row by row, each would cost a move of the rest of the list.
void DBManager::removeAllFromLists(const QList<PBContentPtr>& items)
{
    emit listsAboutToBeReplaced();
    const QSet<qint64> removed = m_lists.removeRows(items);
    emit listsReplaced();
    for (qint64 rowId : removed)
        m_objects->forget(rowId);
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
            emit marksUpdated(updated);
        });
    });
}

// A mark set through another object for the row (a search result, an object from before a load)
// reaches the row's own object too, and every list shows the mark.
void DBManager::applyMarks(const QList<PBContentPtr>& items, bool marked)
{
    for (const PBContentPtr& item : items) {
        item->marked = marked;
        PBContentPtr own = item;
        const qsizetype index = m_lists.indexOf(Category::Recents, *item);
        if (index >= 0) {
            const ListedRow row = m_lists[Category::Recents][index];
            if (PBContentPtr found = m_objects->find(row.rowId)) {
                found->marked = marked;
                own = std::move(found);
            }
            m_lists.setMarked(row, marked);
            const qsizetype listed = m_lists[Category::Marked].indexOf(row.rowId, row.date);
            if (!marked && listed >= 0)
                removeAt(Category::Marked, listed);
            else if (marked && listed < 0)
                prependTo(Category::Marked, m_lists[Category::Recents][index]);
        }
        emit markChanged(own);
    }
}

// On the database queue: rows go in one transaction; an item's payload files go only when its
// row did, so a failed delete never leaves a row whose payloads are gone.
QList<PBContentPtr> DBManager::deleteRows(const QList<PBContentPtr>& items)
{
    return runForEach(items, deleteSql, [](SqliteStatement& statement, const PBContent& item) {
        statement.bind(1, item.uuid());
    });
}
