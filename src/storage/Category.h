#pragma once

#include "item/PBContent.h"

#include <QtGlobal>

// The lists a window can show, by the numbers they are known by everywhere: the six lists the
// history store keeps, then the search results, a list each window fills itself. For the four
// item kinds the number is the item type plus one. A number beyond these names no list.
enum class Category : qint64 {
    Recents = 0,
    Text = 1,
    File = 2,
    Image = 3,
    URL = 4,
    Marked = 5,
    Search = 6,
};

// The store keeps the categories before Search.
inline constexpr int storeListCount = 6;

constexpr bool isStoreList(Category category)
{
    return category >= Category::Recents && category < Category::Search;
}

constexpr Category categoryOfType(PBContentType type)
{
    return Category(qint64(type) + 1);
}
