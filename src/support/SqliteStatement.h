#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

struct sqlite3;
struct sqlite3_stmt;
class SqliteDatabase;

// A prepared statement with bound parameters. Texts are bound as UTF-8 bytes with their explicit
// length, so NUL characters, quotes and any bytes are stored exactly as given; SQL is never built
// from values.
//
// A statement that could not be prepared is still an object: binding does nothing, step() and
// exec() report failure, and errorText() says why.
class SqliteStatement
{
public:
    SqliteStatement(const SqliteDatabase& db, const QString& sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    // Parameters are numbered from 1. A null QString binds NULL, an empty one the empty text.
    SqliteStatement& bind(int index, const QString& text);
    // The bytes as TEXT (not BLOB), so LIKE and the text functions work on them.
    SqliteStatement& bindText(int index, const QByteArray& utf8);
    SqliteStatement& bind(int index, qint64 value);
    SqliteStatement& bind(int index, double value);
    SqliteStatement& bindNull(int index);

    // Advances to the next row: true while a row is available; false at the end or on failure.
    bool step();
    // Runs to the end, discarding rows; true when the statement completed.
    bool exec();
    // Rewinds so the statement can run again, clearing a failure of the last run; the bindings
    // stay.
    void reset();

    bool failed() const { return m_failed; }
    QString errorText() const { return m_error; }

    // Columns of the current row by name. A missing column reads as NULL.
    bool isNull(QByteArrayView column) const;
    // Null QString for NULL, an empty non-null QString for the empty text.
    QString text(QByteArrayView column) const;
    // The stored bytes exactly, null for NULL.
    QByteArray bytes(QByteArrayView column) const;
    qint64 integer(QByteArrayView column) const;
    double real(QByteArrayView column) const;
    // The value's bytes inside SQLite, valid until the next step; a null view for NULL.
    QByteArrayView storedBytes(QByteArrayView column) const;

    // The same by the column's index, which a statement that reads many rows looks up once;
    // an index of -1 reads as NULL.
    int columnIndex(QByteArrayView column) const;
    bool isNull(int index) const;
    qint64 integer(int index) const;
    double real(int index) const;
    QByteArrayView storedBytes(int index) const;

private:
    void fail();

    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_stmt = nullptr;
    bool m_failed = false;
    QString m_error;
    // The column names, read once: looking a name up allocates nothing, which counts when a
    // load reads nine columns of a million rows.
    mutable QList<QByteArray> m_columns;
};
