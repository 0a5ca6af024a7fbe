#pragma once

#include "item/PBContent.h"
#include "storage/Category.h"

#include <QList>
#include <array>

// The six lists of the history store, one per category it keeps.
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

private:
    std::array<QList<PBContentPtr>, storeListCount> m_lists;
};
