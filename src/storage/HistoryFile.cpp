#include "storage/HistoryFile.h"

#include "support/Logging.h"
#include "support/PrivateFiles.h"
#include "support/SqliteDatabase.h"
#include "support/SqliteStatement.h"

#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>

namespace {
const char* const hasItemsTableSql =
    "SELECT count(*) AS n FROM sqlite_schema WHERE type='table' AND name='pb_items'";
// SQLite's companions of a database file, which belong to it and go where it goes.
const QString companionSuffixes[] = {QStringLiteral("-wal"), QStringLiteral("-shm")};

bool isRegularFile(const QFileInfo& info)
{
    return info.isFile() && !info.isSymLink();
}
} // namespace

HistoryFile::HistoryFile(const QString& path) : m_path(path) {}

std::unique_ptr<SqliteDatabase> HistoryFile::open(const QDateTime& now)
{
    createFromTemplate();
    auto db = std::make_unique<SqliteDatabase>();
    if (!db->open(m_path) || !isDamaged(*db) || !isRegularFile(QFileInfo(m_path)))
        return db;
    db = std::make_unique<SqliteDatabase>(); // closes the damaged file before it moves
    m_keptCopy = setAside(now);
    if (m_keptCopy.isEmpty()) {
        qCWarning(lcStorage).noquote()
            << "the history cannot be read and cannot be set aside:" << m_path;
        return db;
    }
    qCWarning(lcStorage).noquote()
        << QStringLiteral("the history could not be read; kept it as %1 and started a new one")
               .arg(m_keptCopy);
    createFromTemplate();
    db->open(m_path);
    return db;
}

bool HistoryFile::isDamaged(const SqliteDatabase& db)
{
    SqliteStatement statement(db, QString::fromLatin1(hasItemsTableSql));
    if (statement.step())
        return statement.integer("n") == 0;
    const int code = db.errorCode();
    return code == SQLITE_NOTADB || code == SQLITE_CORRUPT;
}

QString HistoryFile::keptName(const QString& path, const QDateTime& when)
{
    return path + QStringLiteral(".damaged-") + when.toString(QStringLiteral("yyyy-MM-dd-HHmmss"));
}

// A link or a folder at the path is left alone: opening it then fails, or reads what the user
// put there.
void HistoryFile::createFromTemplate() const
{
    const QFileInfo info(m_path);
    if (info.isSymLink() || (info.exists() && !(isRegularFile(info) && info.size() == 0)))
        return;
    if (info.exists())
        qCWarning(lcStorage).noquote() << "the history is an empty file; made it anew:" << m_path;
    QFile templateFile(QStringLiteral(":/db/db.sqlite3"));
    if (!templateFile.open(QIODevice::ReadOnly) || !PrivateFiles::makeFolder(info.absolutePath()) ||
        !PrivateFiles::writeFile(m_path, templateFile.readAll()))
        qCWarning(lcStorage).noquote() << "cannot make the history from its template:" << m_path;
}

QString HistoryFile::setAside(const QDateTime& when) const
{
    const QString kept = PrivateFiles::moveAside(m_path, keptName(m_path, when).mid(m_path.size()));
    if (kept.isEmpty())
        return {};
    for (const QString& suffix : companionSuffixes) {
        if (QFileInfo::exists(m_path + suffix) && !QFile::rename(m_path + suffix, kept + suffix))
            qCWarning(lcStorage).noquote() << "cannot set aside" << m_path + suffix;
    }
    return kept;
}
