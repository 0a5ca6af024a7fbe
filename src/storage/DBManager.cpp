#include "storage/DBManager.h"

#include "platform/Platform.h"
#include "storage/SharedRowTexts.h"
#include "support/Logging.h"
#include "support/MessageChannel.h"
#include "support/SerialQueue.h"
#include "support/SqliteDatabase.h"
#include "support/SqliteStatement.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QStandardPaths>
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
} // namespace

DBManager::DBManager(const QString& folder, MessageChannel& channel, QObject* parent)
    : QObject(parent), m_dbPath(folder + QStringLiteral("/db.sqlite3")), m_channel(channel),
      m_dbQueue(std::make_unique<SerialQueue>()), m_backgroundQueue(std::make_unique<SerialQueue>())
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
}

DBManager::~DBManager()
{
    // Background blocks use the database queue and the connection: they finish first.
    m_backgroundQueue.reset();
    m_dbQueue->sync([this] { m_db.reset(); });
}

DBManager& DBManager::sharedManager()
{
    static DBManager* manager =
        new DBManager(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                          QStringLiteral("/vantrel"),
                      Platform::messageChannel());
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
            m_channel.passMessageObject(item->contentExtension().toJson(),
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
        .bind(6, item.dataPathArray ? item.dataPathArray->join(listSeparator) : QString())
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
        QMetaObject::invokeMethod(
            this,
            [receiver, block, found = std::move(found)] {
                if (receiver)
                    block(found);
            },
            Qt::QueuedConnection);
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
                for (int c = 0; c < categoryCount; ++c)
                    m_lists[c] = std::move(lists[c]);
                updateCounts();
                block();
                passRecentItems();
            });
        });
    });
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
        item->dataPathArray = splitList(row.text("data"));
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
    m_channel.passMessageObject(QStringLiteral(""), QStringLiteral("app.launched"));
}

void DBManager::passRecentItems()
{
    m_channel.passMessageObject(summaries(m_lists[Recents], recentSummaryCount),
                                QStringLiteral("response.update.recent"));
}

void DBManager::postToMain(std::function<void()> fn)
{
    QMetaObject::invokeMethod(this, std::move(fn), Qt::QueuedConnection);
}
