#pragma once

#include "storage/ListedRow.h"

#include <QHash>
#include <QList>
#include <optional>

class PackedList;

// The rows a search found, newest first, 16 bytes each: a row Recents lists is kept as its id and
// date and read from Recents whenever it is asked for, so it always shows the list's mark; a row
// Recents did not list when it was found (before the first load, or before its insert reached the
// lists) is kept whole beside them until relist().
class ResultRows
{
public:
    qsizetype size() const { return m_rows.size(); }
    double dateAt(qsizetype index) const { return m_rows[index].date; }

    // Appends rows found after those held.
    void append(const QList<ListedRow>& rows, const PackedList& recents);
    void removeAt(qsizetype index);
    void clear();
    // Gives back the room the rows grew into.
    void squeeze() { m_rows.squeeze(); }
    // Keeps only the rows Recents lists now (after the lists were replaced), none of them whole.
    void relist(const PackedList& recents);

    // The row at `index` as Recents lists it now, or as it was found when Recents did not list
    // it; nullopt when it has gone from Recents since. Rows asked for in order are found in a
    // step each.
    std::optional<ListedRow> at(qsizetype index, const PackedList& recents) const;
    // Calls `change` on each row kept whole.
    template <class Change> void changeUnlisted(const Change& change)
    {
        for (ListedRow& row : m_unlisted)
            change(row);
    }

private:
    struct Row
    {
        qint64 rowId;
        double date;
    };

    QList<Row> m_rows;
    QHash<qint64, ListedRow> m_unlisted;
    // Where in Recents the row after the one last asked for most likely stands.
    mutable qsizetype m_next = 0;
};
