#include "storage/ListedObjects.h"

#include "storage/ListLoader.h"
#include "storage/ListedRow.h"

namespace {
constexpr qsizetype firstSweep = 1024;
}

ListedObjects::ListedObjects(const ListLoader& loader) : m_loader(loader), m_sweepAt(firstSweep) {}

PBContentPtr ListedObjects::object(const ListedRow& row, const ItemUuid& uuid)
{
    if (PBContentPtr found = find(row.rowId))
        return found;
    PBContentPtr made = m_loader.listedContent(row, uuid);
    adopt(row.rowId, made);
    return made;
}

PBContentPtr ListedObjects::find(qint64 rowId) const
{
    const auto found = m_objects.constFind(rowId);
    return found == m_objects.cend() ? nullptr : found->lock();
}

void ListedObjects::adopt(qint64 rowId, const PBContentPtr& item)
{
    m_objects.insert(rowId, item);
    hold(item);
    if (m_objects.size() >= m_sweepAt)
        sweep();
}

void ListedObjects::forget(qint64 rowId)
{
    m_objects.remove(rowId);
}

void ListedObjects::clear()
{
    m_objects.clear();
    m_held.fill(nullptr);
    m_sweepAt = firstSweep;
}

void ListedObjects::hold(const PBContentPtr& item)
{
    m_held[m_nextHeld] = item;
    m_nextHeld = (m_nextHeld + 1) % m_held.size();
}

void ListedObjects::sweep()
{
    m_objects.removeIf([](const auto& entry) { return entry.value().expired(); });
    m_sweepAt = std::max(firstSweep, 2 * m_objects.size());
}
