#include "storage/DBManager.h"

#include "capture/PBWatcher.h"
#include "platform/Pasteboard.h"
#include "platform/Platform.h"
#include "storage/DataManager.h"
#include "storage/SettingsManager.h"
#include "storage/SharedRowTexts.h"
#include "support/AppPaths.h"
#include "support/Clock.h"
#include "support/Logging.h"
#include "support/MessageChannel.h"
#include "support/SerialQueue.h"
#include "support/SqliteDatabase.h"
#include "support/SqliteStatement.h"
#include "support/ThreadPoster.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonObject>
#include <QSet>
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
// What the retention pass may prune, newest first; the caller skips marked rows.
const char* const listedTypes = "type IN (0, 1, 2, 3)";
const QByteArray olderThanSql =
    QByteArray("SELECT * FROM pb_items WHERE ") + listedTypes + " AND ? - date >= ?";
const QByteArray beyondNewestSql = QByteArray("SELECT * FROM pb_items WHERE ") + listedTypes +
                                   " ORDER BY date DESC LIMIT -1 OFFSET ?";
const QByteArray unmarkedSql = QByteArray("SELECT * FROM pb_items WHERE ") + listedTypes;

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
    passLaunchedMessage();
    listenToCompanion();
}

DBManager::~DBManager()
{
    // Background blocks use the database queue and the connection: they finish first.
    m_backgroundQueue.reset();
    m_dbQueue->sync([this] { m_db.reset(); });
}

DBManager& DBManager::sharedManager()
{
    static DBManager* manager = [] {
        auto* made =
            new DBManager(AppPaths::dataFolder(),
                          {Platform::messageChannel(), DataManager::sharedManager(),
                           SettingsManager::sharedManager().model(), PBWatcher::sharedWatcher(),
                           Platform::pasteboard(), Clock::system()});
        if (auto* app = QCoreApplication::instance())
            QObject::connect(app, &QCoreApplication::aboutToQuit, made,
                             [made] { made->passTerminalMessage(); });
        return made;
    }();
    return *manager;
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
    block = orNothing(std::move(block));
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

qsizetype DBManager::indexOf(Category category, const QString& uuid) const
{
    const auto& list = m_lists[category];
    const auto found = std::find_if(list.cbegin(), list.cend(), [&uuid](const PBContentPtr& item) {
        return item->uuid == uuid;
    });
    return found == list.cend() ? -1 : found - list.cbegin();
}

void DBManager::searchPbItems(const QString& text, QObject* context, SearchBlock block)
{
    block = orNothing(std::move(block));
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

PBContentPtr DBManager::contentFromFMResult(const SqliteStatement& row)
{
    return contentFromRow(row, nullptr);
}

// NULL columns leave their fields absent.
PBContentPtr DBManager::contentFromRow(const SqliteStatement& row, SharedRowTexts* shared)
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

void DBManager::passLaunchedMessage()
{
    m_services.channel.passMessageObject(QStringLiteral(""), QStringLiteral("app.launched"));
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

void DBManager::passTerminalMessage()
{
    m_services.channel.passMessageObject(QStringLiteral(""), QStringLiteral("app.terminate"));
}

void DBManager::passMarkedItems()
{
    m_services.channel.passMessageObject(summaries(m_lists[Marked]),
                                         QStringLiteral("response.update.marked"));
}

void DBManager::listenToCompanion()
{
    MessageChannel& channel = m_services.channel;
    channel.listenForMessage(QStringLiteral("app.isLaunched"), this,
                             [this](const auto&) { passLaunchedMessage(); });
    channel.listenForMessage(QStringLiteral("request.update.recent"), this,
                             [this](const auto&) { passRecentItems(); });
    channel.listenForMessage(QStringLiteral("request.update.marked"), this,
                             [this](const auto&) { passMarkedItems(); });
    channel.listenForMessage(QStringLiteral("copy"), this,
                             [this](const auto& message) { copyRequested(message); });
}

// The companion asks for an item to be put back on the clipboard. The write is the program's
// own, made while another application is active, so the watcher is told to skip it.
void DBManager::copyRequested(const std::optional<QJsonValue>& message)
{
    if (!message || !message->isObject())
        return;
    const QString uuid = message->toObject().value(QStringLiteral("uuid")).toString();
    const auto& recent = m_lists[Recents];
    const auto found =
        std::find_if(recent.cbegin(), recent.cend(),
                     [&uuid](const PBContentPtr& item) { return item->uuid == uuid; });
    if (uuid.isEmpty() || found == recent.cend())
        return;
    const PBContentPtr& item = *found;
    m_services.watcher.setIgnoreNextCopy(true);
    m_services.pasteboard.writeItem(item->pasteboardTypes,
                                    item->dataArray().value_or(QList<QByteArray>()));
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
    block = orNothing(std::move(block));
    m_dbQueue->sync([this, &items, &block] {
        const QList<PBContentPtr> deleted = deleteRows(items);
        for (const PBContentPtr& item : deleted)
            m_services.dataManager.deleteDataOfContent(*item);
        postToMain([this, deleted, items, block = std::move(block)] {
            removeFromLists(deleted);
            updateCounts();
            block();
            m_services.channel.passMessageObject(summaries(items), QStringLiteral("delete"));
        });
    });
}

// By uuid, not identity: an item deleted through a search result is another object for the
// same row, and must leave the lists all the same.
void DBManager::removeFromLists(const QList<PBContentPtr>& items)
{
    for (const PBContentPtr& item : items) {
        for (Category category : {Recents, File, Image, Text, URL, Marked}) {
            const qsizetype index = indexOf(category, item->uuid);
            if (index >= 0)
                removeAt(category, index);
        }
    }
    if (!items.isEmpty())
        emit itemsDeleted(items);
}

void DBManager::updateFavorite(const QList<PBContentPtr>& items, std::function<void()> block)
{
    block = orNothing(std::move(block));
    m_dbQueue->sync([this, &items, &block] {
        const QList<PBContentPtr> updated =
            runForEach(items, markSql, [](SqliteStatement& statement, const PBContent& item) {
                statement.bind(1, qint64(item.marked ? 1 : 0)).bind(2, item.uuid);
            });
        for (const PBContentPtr& item : updated)
            item->contentExtension().marked = item->marked;
        postToMain([this, updated, items, block = std::move(block)] {
            applyMarks(updated);
            updateCounts();
            block();
            m_services.channel.passMessageObject(summaries(items), QStringLiteral("mark"));
        });
    });
}

// A mark set through a search result reaches the store's own object for the row too, so the
// Marked list holds that object and every list shows the mark.
void DBManager::applyMarks(const QList<PBContentPtr>& items)
{
    for (const PBContentPtr& item : items) {
        PBContentPtr own = item;
        const qsizetype recent = indexOf(Recents, item->uuid);
        if (recent >= 0 && m_lists[Recents][recent] != item) {
            own = m_lists[Recents][recent];
            own->marked = item->marked;
            own->contentExtension().marked = item->marked;
        }
        const qsizetype marked = indexOf(Marked, item->uuid);
        if (!item->marked && marked >= 0)
            removeAt(Marked, marked);
        else if (item->marked && marked < 0)
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
    const qint64 saveMode = m_services.settings.saveMode();
    const bool tellCompanion = !terminating && (saveMode == ByDuration || saveMode == ByNumber);
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
    case ByDuration:
        select.emplace(*m_db, QString::fromLatin1(olderThanSql));
        select->bind(1, m_services.clock.now())
            .bind(2, retentionSeconds(m_services.settings.saveTime()));
        break;
    case ByNumber:
        select.emplace(*m_db, QString::fromLatin1(beyondNewestSql));
        select->bind(1, qint64(retentionCount(m_services.settings.saveCount())));
        break;
    case ClearWhenExiting:
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
        statement.bind(1, item.uuid);
    });
}
