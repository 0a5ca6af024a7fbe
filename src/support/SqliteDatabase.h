#pragma once

#include <QString>
#include <functional>

struct sqlite3;

// One SQLite connection, closed when the object goes. Not thread-safe: the connection belongs to
// one thread at a time (the database queue's).
class SqliteDatabase
{
public:
    SqliteDatabase() = default;
    ~SqliteDatabase();
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;

    // Opens the file for reading and writing, creating an empty database when none exists, in
    // write-ahead-log mode with synchronous=NORMAL: a committed statement survives a crash of the
    // application (only a power cut or an OS crash may lose the last commits, never corrupting
    // the file), and a write costs no fsync, so the waiting caller is not held up by the disk.
    bool open(const QString& path);
    bool isOpen() const { return m_db != nullptr; }

    // Runs statements that return no rows; false on the first failing one.
    bool execute(const QString& sql);

    // Whether a transaction is open: after a failed COMMIT, SQLite may or may not have rolled
    // it back already.
    bool inTransaction() const;

    // The message of the last failure on this connection.
    QString errorText() const;
    // The primary result code of the last failure (SQLITE_NOTADB, SQLITE_BUSY, ...).
    int errorCode() const;

    // The rowid of the last row this connection inserted.
    qint64 lastInsertRowId() const;

    sqlite3* handle() const { return m_db; }

    // While set, a running statement is asked every few thousand steps whether to stop; when it
    // answers true the statement ends at once with SQLITE_INTERRUPT. An empty check removes it.
    void setInterruptCheck(std::function<bool()> check);

private:
    sqlite3* m_db = nullptr;
    std::function<bool()> m_interruptCheck;
    QString m_openError;
};
