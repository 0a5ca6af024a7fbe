#include "support/SqliteDatabase.h"

#include "support/Logging.h"

#include <QFile>
#include <sqlite3.h>

SqliteDatabase::~SqliteDatabase()
{
    // v2 defers the close until statements still alive are finalized instead of failing.
    sqlite3_close_v2(m_db);
}

bool SqliteDatabase::open(const QString& path)
{
    sqlite3_close_v2(m_db);
    m_db = nullptr;
    sqlite3* db = nullptr;
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        m_openError = QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
        qCWarning(lcStorage) << "cannot open" << path << m_openError;
        sqlite3_close_v2(db);
        return false;
    }
    m_db = db;
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_timeout(m_db, 2000);
    if (!execute(QStringLiteral("PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;")))
        qCWarning(lcStorage) << "cannot set the journal mode of" << path << errorText();
    return true;
}

bool SqliteDatabase::execute(const QString& sql)
{
    if (!m_db)
        return false;
    return sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

bool SqliteDatabase::inTransaction() const
{
    return m_db && sqlite3_get_autocommit(m_db) == 0;
}

QString SqliteDatabase::errorText() const
{
    return m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : m_openError;
}

qint64 SqliteDatabase::lastInsertRowId() const
{
    return m_db ? sqlite3_last_insert_rowid(m_db) : 0;
}

int SqliteDatabase::errorCode() const
{
    return m_db ? sqlite3_errcode(m_db) & 0xff : SQLITE_CANTOPEN;
}

void SqliteDatabase::setInterruptCheck(std::function<bool()> check)
{
    m_interruptCheck = std::move(check);
    if (!m_db)
        return;
    if (!m_interruptCheck) {
        sqlite3_progress_handler(m_db, 0, nullptr, nullptr);
        return;
    }
    constexpr int stepsBetweenChecks = 4000;
    sqlite3_progress_handler(
        m_db, stepsBetweenChecks,
        [](void* self) { return static_cast<SqliteDatabase*>(self)->m_interruptCheck() ? 1 : 0; },
        this);
}
