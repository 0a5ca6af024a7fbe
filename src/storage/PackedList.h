#pragma once

#include "storage/ListedRow.h"

#include <QList>
#include <QSet>

// One history list as the store keeps it: a row per item (ListedRow), 40 bytes each, newest first
// as loaded. While the list is in date order, newest first (as a load leaves it, and as inserts
// keep it unless the clock was set back), a row is found by its date in a few steps; otherwise
// the list is walked.
class PackedList
{
public:
    qsizetype size() const { return m_rows.size(); }
    bool isEmpty() const { return m_rows.isEmpty(); }
    const ListedRow& operator[](qsizetype index) const { return m_rows[index]; }

    void reserve(qsizetype size) { m_rows.reserve(size); }
    void append(const ListedRow& row);
    void prepend(const ListedRow& row);
    void removeAt(qsizetype index) { m_rows.removeAt(index); }
    void setMarked(qsizetype index, bool marked) { m_rows[index].marked = marked; }
    // Takes out the rows with these ids, keeping the order of the others.
    void removeRows(const QSet<qint64>& rowIds);

    // The index of the row with this id and date, or -1.
    qsizetype indexOf(qint64 rowId, double date) const
    {
        return find(date, [rowId](const ListedRow& row) { return row.rowId == rowId; });
    }
    // The index of the first row of this date that `matches`, or -1.
    template <class Matches> qsizetype find(double date, const Matches& matches) const
    {
        if (m_dateOrdered)
            return findFrom(firstNotNewer(date, 0), date, matches);
        for (qsizetype i = 0; i < m_rows.size(); ++i) {
            if (m_rows[i].date == date && matches(m_rows[i]))
                return i;
        }
        return -1;
    }
    // The same, looked for by the date alone, from where a row at least as new as this one lies:
    // fast for a run of rows asked for newest first, however out of order the list. A row out of
    // date order may then be missed.
    template <class Matches>
    qsizetype findNewestFirst(double date, const Matches& matches, qsizetype& from) const
    {
        from = firstNotNewer(date, from);
        return findFrom(from, date, matches);
    }

private:
    // The first index from `from` on whose row is not newer than `date`: a galloping search (steps
    // doubling, then halving), a few steps where the rows asked for lie close together.
    qsizetype firstNotNewer(double date, qsizetype from) const;
    template <class Matches>
    qsizetype findFrom(qsizetype index, double date, const Matches& matches) const
    {
        for (; index < m_rows.size() && m_rows[index].date == date; ++index) {
            if (matches(m_rows[index]))
                return index;
        }
        return -1;
    }

    QList<ListedRow> m_rows;
    bool m_dateOrdered = true;
};
