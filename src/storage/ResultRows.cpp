#include "storage/ResultRows.h"

#include "storage/PackedList.h"

void ResultRows::append(const QList<ListedRow>& rows, const PackedList& recents)
{
    for (const ListedRow& row : rows) {
        const qsizetype index = recents.indexNear(m_next, row.rowId, row.date);
        if (index >= 0)
            m_next = index + 1;
        else
            m_unlisted.insert(row.rowId, row);
        m_rows.append({row.rowId, row.date});
    }
}

void ResultRows::removeAt(qsizetype index)
{
    m_unlisted.remove(m_rows[index].rowId);
    m_rows.removeAt(index);
}

void ResultRows::clear()
{
    m_rows.clear();
    m_unlisted.clear();
    m_next = 0;
}

void ResultRows::relist(const PackedList& recents)
{
    m_unlisted.clear();
    m_next = 0;
    m_rows.removeIf([this, &recents](const Row& row) {
        const qsizetype index = recents.indexNear(m_next, row.rowId, row.date);
        m_next = index >= 0 ? index + 1 : m_next;
        return index < 0;
    });
}

std::optional<ListedRow> ResultRows::at(qsizetype index, const PackedList& recents) const
{
    const Row& row = m_rows[index];
    const qsizetype listed = recents.indexNear(m_next, row.rowId, row.date);
    if (listed >= 0) {
        m_next = listed + 1;
        return recents[listed];
    }
    const auto unlisted = m_unlisted.constFind(row.rowId);
    if (unlisted != m_unlisted.cend() && unlisted->date == row.date)
        return *unlisted;
    return std::nullopt;
}
