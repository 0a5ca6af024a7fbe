#pragma once

#include "item/ItemUuid.h"
#include "storage/Category.h"
#include "storage/FoundRow.h"
#include "storage/PackedList.h"

#include <QList>
#include <QSet>
#include <QStringList>
#include <array>
#include <memory>

class PBContent;

// The six lists of the history store, one per category it keeps, each a packed list of rows: a
// row stands at most once in each list, and no list holds an object for it (ListedObjects makes
// those when they are used). A uuid not of the usual form is kept here as text, once for all
// six lists.
class CategoryLists
{
public:
    PackedList& operator[](Category category) { return m_lists[qsizetype(category)]; }
    const PackedList& operator[](Category category) const { return m_lists[qsizetype(category)]; }
    auto begin() { return m_lists.begin(); }
    auto end() { return m_lists.end(); }

    // A row for these values; a uuid of another form than the usual one is kept as text here.
    ListedRow rowFor(const FoundRow& found);
    ItemUuid uuidOf(const ListedRow& row) const;

    // Sets the mark of the row where Recents and its kind's list hold it; the Marked list is the
    // caller's to change.
    void setMarked(const ListedRow& row, bool marked);
    // Takes the items' rows out of every list; the ids of the rows taken out.
    QSet<qint64> removeRows(const QList<std::shared_ptr<PBContent>>& items);

    // The index of the item's row (same uuid and date) in the list, or -1.
    qsizetype indexOf(Category category, const PBContent& item) const;
    // The index of the row with this uuid in the list, or -1. Walks the list.
    qsizetype indexOfUuid(Category category, const ItemUuid& uuid) const;

private:
    // Whether a row has the given uuid.
    class SameUuid
    {
    public:
        SameUuid(const CategoryLists& lists, const ItemUuid& uuid);
        bool operator()(const ListedRow& row) const;

    private:
        const QStringList& m_texts;
        const QUuid* m_bytes;
        QString m_text;
    };

    std::array<PackedList, storeListCount> m_lists;
    // The uuids kept as text, numbered by the rows' uuidText.
    QStringList m_uuidTexts;
};
