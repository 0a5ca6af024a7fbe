#pragma once

#include "storage/ListedRow.h"

#include <QList>
#include <QSet>
#include <algorithm>
#include <vector>

// One history list as the store keeps it: a row per item (ListedRow), 40 bytes each. A row is
// found by its date in a few steps: the list is kept as runs of rows in date order, newest first.
// A load leaves one run; an insert older than the front (the clock was set back) or a mark put at
// the front of the Marked list starts another. A list of very many runs is walked instead.
class PackedList
{
public:
    qsizetype size() const { return m_rows.size(); }
    bool isEmpty() const { return m_rows.isEmpty(); }
    const ListedRow& operator[](qsizetype index) const { return m_rows[index]; }
    // Whether the rows were always put in the list in date order and in the order of their ids,
    // newest first, so that the table read by rowid, newest first, gives them in date order. A
    // row taken out keeps the order; one put in out of it ends it until the list is loaded anew.
    bool isInRowIdOrder() const { return m_rowIdOrder; }

    // Takes these rows, in date order, newest first, as the list's.
    void assign(QList<ListedRow> rows);
    void append(const ListedRow& row);
    void prepend(const ListedRow& row);
    void removeAt(qsizetype index);
    void setMarked(qsizetype index, bool marked) { m_rows[index].marked = marked; }
    // Takes out the rows with these ids, keeping the order of the others.
    void removeRows(const QSet<qint64>& rowIds);

    // The index of the row with this id and date, or -1.
    qsizetype indexOf(qint64 rowId, double date) const
    {
        return find(date, [rowId](const ListedRow& row) { return row.rowId == rowId; });
    }
    // The index of the row with this id, or -1: in a few steps in a list in rowid order, by
    // walking it otherwise.
    qsizetype indexOfRowId(qint64 rowId) const;
    // The same, looked for first in the few rows from `from` on: where the row after the one last
    // found stands when rows are asked for in the list's order.
    qsizetype indexNear(qsizetype from, qint64 rowId, double date) const
    {
        const qsizetype found = nearby(from, [rowId, date](const ListedRow& row) {
            return row.rowId == rowId && row.date == date;
        });
        return found >= 0 ? found : indexOf(rowId, date);
    }
    // The same for a row known by its id alone.
    qsizetype indexNearRowId(qsizetype from, qint64 rowId) const
    {
        const qsizetype found =
            nearby(from, [rowId](const ListedRow& row) { return row.rowId == rowId; });
        return found >= 0 ? found : indexOfRowId(rowId);
    }
    // The index of the first row of this date that `matches`, or -1.
    template <class Matches> qsizetype find(double date, const Matches& matches) const
    {
        if (m_breaks.size() > mostRuns) {
            for (qsizetype i = 0; i < m_rows.size(); ++i) {
                if (m_rows[i].date == date && matches(m_rows[i]))
                    return i;
            }
            return -1;
        }
        qsizetype start = 0;
        for (qsizetype run = 0; run <= qsizetype(m_breaks.size()); ++run) {
            const qsizetype end = run < qsizetype(m_breaks.size()) ? breakIndex(run) : size();
            for (qsizetype i = firstNotNewer(date, start, end); i < end && m_rows[i].date == date;
                 ++i) {
                if (matches(m_rows[i]))
                    return i;
            }
            start = end;
        }
        return -1;
    }

private:
    static constexpr size_t mostRuns = 16;
    static constexpr qsizetype nearbyRows = 8;

    template <class Matches> qsizetype nearby(qsizetype from, const Matches& matches) const
    {
        const qsizetype end = std::min(std::max<qsizetype>(from, 0) + nearbyRows, size());
        for (qsizetype i = std::max<qsizetype>(from, 0); i < end; ++i) {
            if (matches(m_rows[i]))
                return i;
        }
        return -1;
    }

    // The first index of [from, to) whose row is not newer than `date`, in a run.
    qsizetype firstNotNewer(double date, qsizetype from, qsizetype to) const;
    // The index of the row that starts run `run` + 1.
    qsizetype breakIndex(qsizetype run) const { return size() - m_breaks[run]; }
    // Whether `newer` may stand right before `older` in a list in rowid order.
    static bool inRowIdOrder(const ListedRow& newer, const ListedRow& older)
    {
        return newer.rowId > older.rowId && newer.date >= older.date;
    }
    // Finds where each run starts.
    void findRuns();
    // Whether the date order breaks between the row at `index` and the one before it.
    bool breaksBefore(qsizetype index) const
    {
        return index > 0 && index < size() && m_rows[index - 1].date < m_rows[index].date;
    }

    QList<ListedRow> m_rows;
    // Where a run starts (the row before it older than its first), but for the first run, in
    // order, each counted back from the end of the list, so that a prepend moves none of them.
    std::vector<qsizetype> m_breaks;
    bool m_rowIdOrder = true;
};
