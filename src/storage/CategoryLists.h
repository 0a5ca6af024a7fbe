#pragma once

#include "item/PBContent.h"
#include "storage/Category.h"

#include <QList>
#include <array>

// The six lists of the history store, one per category it keeps. An item object stands at most
// once in each list, and the lists share one object per row.
class CategoryLists
{
public:
    QList<PBContentPtr>& operator[](Category category) { return m_lists[qsizetype(category)]; }
    const QList<PBContentPtr>& operator[](Category category) const
    {
        return m_lists[qsizetype(category)];
    }
    auto begin() { return m_lists.begin(); }
    auto end() { return m_lists.end(); }

    // The lists' object for the item's row (found by uuid in Recents), or the item itself.
    PBContentPtr ownObject(const PBContentPtr& item) const;
    // The same for search results, newest first, where Recents is in date order.
    QList<PBContentPtr> ownObjects(QList<PBContentPtr> items) const;

private:
    std::array<QList<PBContentPtr>, storeListCount> m_lists;
};
