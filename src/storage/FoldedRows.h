#pragma once

#include <QSet>
#include <QString>
#include <functional>
#include <mutex>
#include <optional>

class SqliteDatabase;

// The rows whose keyword holds a character that the search index folds to an ASCII letter and
// LIKE does not: the Kelvin sign (to k) and the long s (to s). For three ASCII characters, the
// index alone finds exactly the rows LIKE finds but for these, which are rare enough to be checked
// with LIKE one by one. They are found by one scan of the table, made after the first search that
// needs them, and every row written is noted as it is written. Any thread.
class FoldedRows
{
public:
    // Whether the keyword holds such a character.
    static bool holdsFolded(const QString& keyword);
    // Whether a search for `text` may find such a row wrongly: it holds k or s, in either case.
    static bool concerns(const QString& text);

    // Writes a row through `write`, which gives its rowid, and notes it if its keyword holds such
    // a character, before a search can ask about it.
    std::optional<qint64> write(const QString& keyword,
                                const std::function<std::optional<qint64>()>& write);
    // Whether every such row is known, after scan().
    bool isKnown() const;
    // Finds every such row in the table, on any connection to the history; once.
    void scan(SqliteDatabase& db);
    // Whether the row may hold such a character: it is noted, or they are not known yet.
    bool mayHold(qint64 rowId) const;

private:
    mutable std::mutex m_mutex;
    QSet<qint64> m_rows;
    bool m_known = false;
};
