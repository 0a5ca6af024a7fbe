#include "support/SqliteStatement.h"

#include "support/Logging.h"
#include "support/SqliteDatabase.h"

#include <sqlite3.h>

SqliteStatement::SqliteStatement(const SqliteDatabase& db, const QString& sql) : m_db(db.handle())
{
    if (!m_db) {
        m_failed = true;
        m_error = db.errorText();
        return;
    }
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_prepare_v2(m_db, utf8.constData(), int(utf8.size()), &m_stmt, nullptr) !=
            SQLITE_OK ||
        !m_stmt)
        fail();
}

SqliteStatement::~SqliteStatement()
{
    sqlite3_finalize(m_stmt);
}

SqliteStatement& SqliteStatement::bind(int index, const QString& text)
{
    return text.isNull() ? bindNull(index) : bindText(index, text.toUtf8());
}

SqliteStatement& SqliteStatement::bindText(int index, const QByteArray& utf8)
{
    // The empty QByteArray has no data pointer; SQLite takes a null pointer as NULL, not "".
    const char* data = utf8.isNull() ? "" : utf8.constData();
    if (m_stmt && sqlite3_bind_text64(m_stmt, index, data, sqlite3_uint64(utf8.size()),
                                      SQLITE_TRANSIENT, SQLITE_UTF8) != SQLITE_OK)
        fail();
    return *this;
}

SqliteStatement& SqliteStatement::bind(int index, qint64 value)
{
    if (m_stmt && sqlite3_bind_int64(m_stmt, index, value) != SQLITE_OK)
        fail();
    return *this;
}

SqliteStatement& SqliteStatement::bind(int index, double value)
{
    if (m_stmt && sqlite3_bind_double(m_stmt, index, value) != SQLITE_OK)
        fail();
    return *this;
}

SqliteStatement& SqliteStatement::bindNull(int index)
{
    if (m_stmt && sqlite3_bind_null(m_stmt, index) != SQLITE_OK)
        fail();
    return *this;
}

bool SqliteStatement::step()
{
    if (!m_stmt || m_failed)
        return false;
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc != SQLITE_DONE)
        fail();
    return false;
}

bool SqliteStatement::exec()
{
    while (step()) {
    }
    return !m_failed;
}

void SqliteStatement::reset()
{
    if (!m_stmt)
        return;
    sqlite3_reset(m_stmt);
    m_failed = false;
    m_error.clear();
}

void SqliteStatement::fail()
{
    m_failed = true;
    m_error = QString::fromUtf8(sqlite3_errmsg(m_db));
    qCWarning(lcStorage) << "statement failed:" << m_error;
}

int SqliteStatement::columnIndex(QByteArrayView column) const
{
    if (!m_stmt)
        return -1;
    if (m_columns.isEmpty()) {
        const int count = sqlite3_column_count(m_stmt);
        for (int i = 0; i < count; ++i)
            m_columns.append(QByteArray(sqlite3_column_name(m_stmt, i)));
    }
    for (qsizetype i = 0; i < m_columns.size(); ++i) {
        if (QByteArrayView(m_columns[i]) == column)
            return int(i);
    }
    return -1;
}

bool SqliteStatement::isNull(QByteArrayView column) const
{
    return isNull(columnIndex(column));
}

bool SqliteStatement::isNull(int index) const
{
    return index < 0 || sqlite3_column_type(m_stmt, index) == SQLITE_NULL;
}

QByteArrayView SqliteStatement::storedBytes(QByteArrayView column) const
{
    return storedBytes(columnIndex(column));
}

QByteArrayView SqliteStatement::storedBytes(int index) const
{
    if (isNull(index))
        return {};
    // The blob accessor hands out a text's bytes as stored, without any conversion; a non-null
    // view of size 0 stands for the empty value.
    const auto* data = static_cast<const char*>(sqlite3_column_blob(m_stmt, index));
    const int size = sqlite3_column_bytes(m_stmt, index);
    return size > 0 ? QByteArrayView(data, size) : QByteArrayView("", 0);
}

QByteArray SqliteStatement::bytes(QByteArrayView column) const
{
    const QByteArrayView stored = storedBytes(column);
    return stored.isNull() ? QByteArray() : QByteArray(stored.data(), stored.size());
}

QString SqliteStatement::text(QByteArrayView column) const
{
    const QByteArrayView stored = storedBytes(column);
    if (stored.isNull())
        return {};
    const QString value = QString::fromUtf8(stored);
    return value.isNull() ? QStringLiteral("") : value;
}

qint64 SqliteStatement::integer(QByteArrayView column) const
{
    return integer(columnIndex(column));
}

qint64 SqliteStatement::integer(int index) const
{
    return index < 0 ? 0 : sqlite3_column_int64(m_stmt, index);
}

double SqliteStatement::real(QByteArrayView column) const
{
    return real(columnIndex(column));
}

double SqliteStatement::real(int index) const
{
    return index < 0 ? 0 : sqlite3_column_double(m_stmt, index);
}
