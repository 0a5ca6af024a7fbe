#include "storage/CategoryLists.h"

#include "item/PBContent.h"

CategoryLists::SameUuid::SameUuid(const CategoryLists& lists, const ItemUuid& uuid)
    : m_texts(lists.m_uuidTexts), m_bytes(uuid.bytes()),
      m_text(m_bytes ? QString() : uuid.toString())
{}

bool CategoryLists::SameUuid::operator()(const ListedRow& row) const
{
    if (m_bytes)
        return row.uuidText < 0 && row.uuid == *m_bytes;
    return row.uuidText >= 0 && m_texts[row.uuidText] == m_text;
}

ListedRow CategoryLists::rowFor(const FoundRow& found)
{
    ListedRow row{found.rowId, found.date, {}, -1, found.type, found.marked};
    if (const QUuid* bytes = found.uuid.bytes()) {
        row.uuid = *bytes;
    } else {
        row.uuidText = qint32(m_uuidTexts.size());
        m_uuidTexts.append(found.uuid.toString());
    }
    return row;
}

ItemUuid CategoryLists::uuidOf(const ListedRow& row) const
{
    return row.uuidText < 0 ? ItemUuid::fromBytes(row.uuid)
                            : ItemUuid::fromString(m_uuidTexts[row.uuidText]);
}

void CategoryLists::setMarked(const ListedRow& row, bool marked)
{
    for (Category category : {Category::Recents, categoryOfType(PBContentType(row.type))}) {
        PackedList& list = (*this)[category];
        const qsizetype index = list.indexOf(row.rowId, row.date);
        if (index >= 0)
            list.setMarked(index, marked);
    }
}

// One walk of Recents finds the rows, however out of date order it is; then each list goes
// through once.
QSet<qint64> CategoryLists::removeRows(const QList<std::shared_ptr<PBContent>>& items)
{
    QSet<ItemUuid> uuids;
    uuids.reserve(items.size());
    for (const auto& item : items)
        uuids.insert(item->itemUuid());
    QSet<qint64> rowIds;
    const PackedList& recent = (*this)[Category::Recents];
    for (qsizetype i = 0; i < recent.size(); ++i) {
        if (uuids.contains(uuidOf(recent[i])))
            rowIds.insert(recent[i].rowId);
    }
    for (PackedList& list : m_lists)
        list.removeRows(rowIds);
    return rowIds;
}

qsizetype CategoryLists::indexOf(Category category, const PBContent& item) const
{
    return (*this)[category].find(item.date, SameUuid(*this, item.itemUuid()));
}

qsizetype CategoryLists::indexOfUuid(Category category, const ItemUuid& uuid) const
{
    const PackedList& list = (*this)[category];
    const SameUuid same(*this, uuid);
    for (qsizetype i = 0; i < list.size(); ++i) {
        if (same(list[i]))
            return i;
    }
    return -1;
}
