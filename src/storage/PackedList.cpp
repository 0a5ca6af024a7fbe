#include "storage/PackedList.h"

#include <algorithm>

void PackedList::assign(QList<ListedRow> rows)
{
    m_rows = std::move(rows);
    m_rowIdOrder = std::adjacent_find(m_rows.cbegin(), m_rows.cend(),
                                      [](const ListedRow& newer, const ListedRow& older) {
                                          return !inRowIdOrder(newer, older);
                                      }) == m_rows.cend();
    findRuns();
}

void PackedList::append(const ListedRow& row)
{
    for (qsizetype& fromEnd : m_breaks)
        ++fromEnd;
    m_rowIdOrder = m_rowIdOrder && (m_rows.isEmpty() || inRowIdOrder(m_rows.last(), row));
    m_rows.append(row);
    if (breaksBefore(size() - 1))
        m_breaks.push_back(1);
}

// A list prepends without moving its rows: it keeps room at its front.
void PackedList::prepend(const ListedRow& row)
{
    m_rowIdOrder = m_rowIdOrder && (m_rows.isEmpty() || inRowIdOrder(row, m_rows.first()));
    m_rows.prepend(row);
    if (breaksBefore(1))
        m_breaks.insert(m_breaks.begin(), size() - 1);
}

// The runs' starts before the row count one less from the end; a start at the row or just after
// it goes, and its neighbours may start one.
void PackedList::removeAt(qsizetype index)
{
    const qsizetype fromEnd = size() - index;
    std::erase_if(m_breaks, [fromEnd](qsizetype at) { return at == fromEnd || at == fromEnd - 1; });
    for (qsizetype& at : m_breaks) {
        if (at > fromEnd)
            --at;
    }
    m_rows.removeAt(index);
    if (breaksBefore(index)) {
        const qsizetype at = size() - index;
        m_breaks.insert(std::upper_bound(m_breaks.begin(), m_breaks.end(), at, std::greater<>()),
                        at);
    }
}

void PackedList::removeRows(const QSet<qint64>& rowIds)
{
    m_rows.removeIf([&rowIds](const ListedRow& row) { return rowIds.contains(row.rowId); });
    findRuns();
}

void PackedList::findRuns()
{
    m_breaks.clear();
    for (qsizetype i = 1; i < size(); ++i) {
        if (breaksBefore(i))
            m_breaks.push_back(size() - i);
    }
}

qsizetype PackedList::indexOfRowId(qint64 rowId) const
{
    if (!m_rowIdOrder) {
        const auto found =
            std::find_if(m_rows.cbegin(), m_rows.cend(),
                         [rowId](const ListedRow& row) { return row.rowId == rowId; });
        return found == m_rows.cend() ? -1 : found - m_rows.cbegin();
    }
    const auto found =
        std::lower_bound(m_rows.cbegin(), m_rows.cend(), rowId,
                         [](const ListedRow& row, qint64 wanted) { return row.rowId > wanted; });
    return found != m_rows.cend() && found->rowId == rowId ? found - m_rows.cbegin() : -1;
}

qsizetype PackedList::firstNotNewer(double date, qsizetype from, qsizetype to) const
{
    while (from < to) {
        const qsizetype middle = from + (to - from) / 2;
        if (m_rows[middle].date > date)
            from = middle + 1;
        else
            to = middle;
    }
    return from;
}
