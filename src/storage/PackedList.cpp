#include "storage/PackedList.h"

#include <algorithm>

void PackedList::append(const ListedRow& row)
{
    if (!m_rows.isEmpty() && row.date > m_rows.constLast().date)
        m_dateOrdered = false;
    m_rows.append(row);
}

// A list prepends without moving its rows: it keeps room at its front.
void PackedList::prepend(const ListedRow& row)
{
    if (!m_rows.isEmpty() && row.date < m_rows.constFirst().date)
        m_dateOrdered = false;
    m_rows.prepend(row);
}

void PackedList::removeRows(const QSet<qint64>& rowIds)
{
    m_rows.removeIf([&rowIds](const ListedRow& row) { return rowIds.contains(row.rowId); });
}

qsizetype PackedList::firstNotNewer(double date, qsizetype from) const
{
    const qsizetype size = m_rows.size();
    qsizetype to = from;
    for (qsizetype step = 1; to < size && m_rows[to].date > date; step *= 2) {
        from = to + 1;
        to += step;
    }
    to = std::min(to, size);
    while (from < to) {
        const qsizetype middle = from + (to - from) / 2;
        if (m_rows[middle].date > date)
            from = middle + 1;
        else
            to = middle;
    }
    return from;
}
