#pragma once

#include <QDateTime>
#include <QString>
#include <memory>

class SqliteDatabase;

// The history's database file. A new one is always a copy of the template shipped inside the
// program (the program holds no statement that creates the table); an empty file counts as none,
// since nothing can be lost by replacing it. A file that SQLite cannot read as a history (no
// database at all, a damaged schema, a database without pb_items) is moved aside, never deleted,
// and a new one is made, so that recording goes on.
class HistoryFile
{
public:
    explicit HistoryFile(const QString& path);

    // Opens the history, making it first where needed and setting a damaged one aside. The
    // connection may be unopened, when even a new file cannot be opened. On the thread that
    // will own the connection.
    std::unique_ptr<SqliteDatabase> open(const QDateTime& now);

    // Where a damaged history was kept by open(), or empty when none was.
    QString keptCopy() const { return m_keptCopy; }

    // Whether the open connection reads something other than a history. A file that is only
    // busy or cannot be read now is not judged damaged.
    static bool isDamaged(const SqliteDatabase& db);

    // The name a damaged history is kept under: "db.sqlite3.damaged-<date>".
    static QString keptName(const QString& path, const QDateTime& when);

private:
    void createFromTemplate() const;
    // Moves the file, and its write-ahead log and shared-memory index where they exist, to a
    // free kept name beside it; the kept path, or empty when the file could not be moved.
    QString setAside(const QDateTime& when) const;

    QString m_path;
    QString m_keptCopy;
};
