#include "storage/DBManager.h"

#include "storage/DataManager.h"
#include "storage/SettingsModel.h"
#include "storage/SharedRowTexts.h"
#include "support/Logging.h"
#include "support/MessageChannel.h"
#include "support/SerialQueue.h"
#include "support/SharedInstance.h"
#include "support/SqliteDatabase.h"
#include "support/SqliteStatement.h"
#include "support/ThreadPoster.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QThread>

namespace {
const QString listSeparator = QStringLiteral("|");
constexpr int recentSummaryCount = 20;

const char* const insertSql =
    "INSERT INTO pb_items (uuid, date, title, type, pb_type, data, app, marked, keyword) "
    "VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?)";
const char* const selectAllSql = "SELECT * FROM pb_items ORDER BY date DESC";
const char* const searchSql =
    "SELECT * FROM pb_items WHERE keyword LIKE '%' || ? || '%' ORDER BY date DESC";
const char* const existsSql = "SELECT 1 FROM pb_items WHERE uuid=?";
const char* const deleteSql = "DELETE FROM pb_items WHERE uuid=?";
const char* const markSql = "UPDATE pb_items SET marked=? WHERE uuid=?";

// How long items are kept by duration, in seconds, for each saveTime choice.
double retentionSeconds(qint64 saveTime)
{
    constexpr double day = 86'400;
    switch (saveTime) {
    case 1:
        return 3 * day;
    case 2:
        return 5 * day;
    case 3:
        return 7 * day;
    default:
        return day;
    }
}

// How many items are kept by number for each saveCount choice. A value no preferences window
// writes keeps as many as the largest choice, so a hand edit never prunes more than that.
qsizetype retentionCount(qint64 saveCount)
{
    switch (saveCount) {
    case 0:
        return 100;
    case 1:
        return 300;
    case 2:
        return 500;
    default:
        return 1000;
    }
}

enum SaveMode : qint64 { ByDuration = 0, ByNumber = 1, ClearWhenExiting = 2 };

QStringList splitList(const QString& joined)
{
    return joined.split(listSeparator);
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
} // namespace

DBManager::DBManager(const QString& folder, const Services& services, QObject* parent)
    : QObject(parent), m_dbPath(folder + QStringLiteral("/db.sqlite3")), m_services(services),
      m_dbQueue(std::make_unique<SerialQueue>()),
      m_backgroundQueue(std::make_unique<SerialQueue>()), m_mainPoster(new ThreadPoster(this))
{
    qCInfo(lcStorage).noquote() << QStringLiteral("DB Path: %1").arg(m_dbPath);
    createDatabase();
    m_open = m_dbQueue->sync([this] {
        m_db = std::make_unique<SqliteDatabase>();
        return m_db->open(m_dbPath);
    });
    if (!m_open)
        qCWarning(lcStorage).noquote() << "cannot open the history:" << m_dbPath;
}

DBManager::~DBManager()
{
    // Background blocks use the database queue and the connection: they finish first.
    m_backgroundQueue.reset();
    m_dbQueue->sync([this] { m_db.reset(); });
}

DBManager& DBManager::sharedManager()
{
    return SharedInstance<DBManager>::instance("DBManager::sharedManager()");
}

// A new history is always a copy of the template shipped inside the program; the program holds
// no statement that creates the table.
void DBManager::createDatabase()
{
    if (QFile::exists(m_dbPath))
        return;
    const QString folder = QFileInfo(m_dbPath).absolutePath();
    if (!QDir().mkpath(folder))
        return;
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (QFile::copy(QStringLiteral(":/db/db.sqlite3"), m_dbPath))
        QFile::setPermissions(m_dbPath, QFile::ReadOwner | QFile::WriteOwner);
}

void DBManager::insertPbContent(const PBContentPtr& item, InsertBlock block)
{
    if (!item || item->uuid.isEmpty() || !m_open || exists(item->uuid) || item->date == 0) {
        block(false);
        return;
    }
    if (item->title.isNull())
        item->title = QStringLiteral("");
    if (!item->dataArray()) {
        block(false);
        return;
    }
    m_dbQueue->sync([this, &item, &block] {
        const bool written = writeRow(*item);
        if (written)
            m_services.channel.passMessageObject(item->contentExtension().toJson(),
                                                 QStringLiteral("insert"));
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
    SqliteStatement statement(*m_db, QString::fromLatin1(insertSql));
    statement.bind(1, item.uuid)
        .bind(2, item.date)
        .bind(3, item.title)
        .bind(4, qint64(item.type()))
        .bind(5, item.pasteboardTypes.join(listSeparator))
        .bindText(6, item.joinedDataPaths().value_or(QByteArray()))
        .bind(7, item.app)
        .bind(8, qint64(item.marked ? 1 : 0))
        .bind(9, item.keyword);
    const bool written = statement.exec();
    if (!written)
        qCWarning(lcStorage).noquote() << "insert failed:" << statement.errorText();
    return written;
}

void DBManager::applyInsert(const PBContentPtr& item)
{
    m_lists[categoryOfType(item->type())].prepend(item);
    m_lists[Recents].prepend(item);
}

void DBManager::searchPbItems(const QString& text, QObject* context, SearchBlock block)
{
    QPointer<QObject> receiver(context);
    m_backgroundQueue->async([this, text, receiver, block = std::move(block)] {
        QList<PBContentPtr> found = m_open ? selectMatching(text) : QList<PBContentPtr>();
        postToMain([receiver, block, found = std::move(found)] {
            if (receiver)
                block(found);
        });
    });
}

QList<PBContentPtr> DBManager::selectMatching(const QString& text)
{
    return m_dbQueue->sync([this, &text] {
        QList<PBContentPtr> found;
        SqliteStatement statement(*m_db, QString::fromLatin1(searchSql));
        statement.bind(1, text);
        while (statement.step()) {
            if (PBContentPtr item = contentFromFMResult(statement))
                found.append(std::move(item));
        }
        return found;
    });
}

void DBManager::fetchAllItems(std::function<void()> block)
{
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
    for (int c = 0; c < categoryCount; ++c)
        m_lists[c] = std::move(lists[c]);
    m_loaded = true;
    updateCounts();
}

DBManager::Lists DBManager::loadAllRows()
{
    Lists lists;
    if (!m_open)
        return lists;
    SharedRowTexts shared;
    SqliteStatement statement(*m_db, QString::fromLatin1(selectAllSql));
    while (statement.step()) {
        PBContentPtr item = contentFromRow(statement, &shared);
        if (!item)
            continue;
        lists[Recents].append(item);
        lists[categoryOfType(item->type())].append(item);
        if (item->marked)
            lists[Marked].append(item);
    }
    return lists;
}

PBContentPtr DBManager::contentFromFMResult(const SqliteStatement& row) const
{
    return contentFromRow(row, nullptr);
}

// NULL columns leave their fields absent.
PBContentPtr DBManager::contentFromRow(const SqliteStatement& row, SharedRowTexts* shared) const
{
    PBContentPtr item = PBContent::withType(row.integer("type"));
    if (!item)
        return nullptr;
    item->uuid = row.text("uuid");
    item->date = row.real("date");
    item->title = row.text("title");
    if (!row.isNull("pb_type")) {
        const QString types = row.text("pb_type");
        item->pasteboardTypes = shared ? shared->types(types, listSeparator) : splitList(types);
    }
    if (!row.isNull("data"))
        item->setJoinedDataPaths(row.bytes("data"));
    item->setPayloadReader(&m_services.dataManager);
    item->app = shared ? shared->app(row.text("app")) : row.text("app");
    item->marked = row.integer("marked") != 0;
    item->keyword = row.text("keyword");
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
                                         QStringLiteral("response.update.recent"));
}

void DBManager::postToMain(std::function<void()> fn)
{
    m_mainPoster->post(std::move(fn));
}

void DBManager::passMarkedItems()
{
    m_services.channel.passMessageObject(summaries(m_lists[Marked]),
                                         QStringLiteral("response.update.marked"));
}

QList<PBContentPtr>
DBManager::runForEach(const QList<PBContentPtr>& items, const char* sql,
                      const std::function<void(SqliteStatement&, const PBContent&)>& bind)
{
    QList<PBContentPtr> succeeded;
    if (!m_open)
        return succeeded;
    m_db->execute(QStringLiteral("BEGIN"));
    SqliteStatement statement(*m_db, QString::fromLatin1(sql));
    for (const PBContentPtr& item : items) {
        statement.reset();
        bind(statement, *item);
        if (statement.exec())
            succeeded.append(item);
        else
            qCWarning(lcStorage).noquote() << "statement failed:" << statement.errorText();
    }
    m_db->execute(QStringLiteral("COMMIT"));
    return succeeded;
}

void DBManager::deletePbContents(const QList<PBContentPtr>& items, std::function<void()> block)
{
    m_dbQueue->sync([this, &items, &block] {
        const QList<PBContentPtr> deleted =
            runForEach(items, deleteSql, [](SqliteStatement& statement, const PBContent& item) {
                statement.bind(1, item.uuid);
            });
        for (const PBContentPtr& item : deleted)
            m_services.dataManager.deleteDataOfContent(*item);
        postToMain([this, deleted, items, block = std::move(block)] {
            removeFromLists(deleted);
            updateCounts();
            if (block)
                block();
            m_services.channel.passMessageObject(summaries(items), QStringLiteral("delete"));
        });
    });
}

void DBManager::removeFromLists(const QList<PBContentPtr>& items)
{
    for (const PBContentPtr& item : items) {
        for (auto& list : m_lists)
            list.removeOne(item);
    }
}

void DBManager::updateFavorite(const QList<PBContentPtr>& items, std::function<void()> block)
{
    m_dbQueue->sync([this, &items, &block] {
        const QList<PBContentPtr> updated =
            runForEach(items, markSql, [](SqliteStatement& statement, const PBContent& item) {
                statement.bind(1, qint64(item.marked ? 1 : 0)).bind(2, item.uuid);
            });
        for (const PBContentPtr& item : updated)
            item->contentExtension().marked = item->marked;
        postToMain([this, updated, items, block = std::move(block)] {
            auto& marked = m_lists[Marked];
            for (const PBContentPtr& item : updated) {
                if (!item->marked)
                    marked.removeOne(item);
                else if (!marked.contains(item))
                    marked.prepend(item);
            }
            updateCounts();
            block();
            m_services.channel.passMessageObject(summaries(items), QStringLiteral("mark"));
        });
    });
}

void DBManager::syncClearContents(bool terminating)
{
    Q_ASSERT(QThread::currentThread() == thread());
    // Until the first load has come in, the lists do not hold the history: a quit right after
    // launch must still clear what the setting says, so the pass loads the lists itself.
    if (!m_loaded)
        applyLists(m_dbQueue->sync([this] { return loadAllRows(); }));
    const QList<PBContentPtr> victims = retentionVictims(terminating);
    pruneItems(victims);
    const qint64 saveMode = m_services.settings.saveMode();
    if (!terminating && (saveMode == ByDuration || saveMode == ByNumber))
        postToMain([this] { fetchAllItems([] {}); });
    qCInfo(lcStorage, "delete data count: %d", int(victims.size()));
}

// The lists change only on this (the main) thread, so a copy of Recents is a consistent
// snapshot.
QList<PBContentPtr> DBManager::retentionVictims(bool terminating) const
{
    const QList<PBContentPtr> snapshot = m_lists[Recents];
    QList<PBContentPtr> victims;
    switch (m_services.settings.saveMode()) {
    case ByDuration: {
        const double keep = retentionSeconds(m_services.settings.saveTime());
        const double now = m_services.clock.now();
        for (const PBContentPtr& item : snapshot) {
            if (!item->marked && now - item->date >= keep)
                victims.append(item);
        }
        break;
    }
    case ByNumber:
        for (qsizetype i = retentionCount(m_services.settings.saveCount()); i < snapshot.size();
             ++i) {
            if (!snapshot[i]->marked)
                victims.append(snapshot[i]);
        }
        break;
    case ClearWhenExiting:
        if (terminating) {
            for (const PBContentPtr& item : snapshot) {
                if (!item->marked)
                    victims.append(item);
            }
        }
        break;
    default:
        break;
    }
    return victims;
}

// Rows go in one transaction; an item's payload files go only when its row did, so a failed
// delete never leaves a row whose payloads are gone. The lists are left to the reload.
void DBManager::pruneItems(const QList<PBContentPtr>& items)
{
    if (items.isEmpty())
        return;
    const QList<PBContentPtr> deleted = m_dbQueue->sync([this, &items] {
        return runForEach(items, deleteSql, [](SqliteStatement& statement, const PBContent& item) {
            statement.bind(1, item.uuid);
        });
    });
    for (const PBContentPtr& item : deleted)
        m_services.dataManager.deleteDataOfContent(*item);
}
