#include "storage/CategoryLists.h"

#include <algorithm>

PBContentPtr CategoryLists::ownObject(const PBContentPtr& item) const
{
    const QList<PBContentPtr>& recent = (*this)[Category::Recents];
    const auto found =
        std::find_if(recent.cbegin(), recent.cend(), [&item](const PBContentPtr& listed) {
            return listed == item || listed->itemUuid() == item->itemUuid();
        });
    return found == recent.cend() ? item : *found;
}

// Search results and Recents are both newest first, so each result's row is looked for from
// where the one before it was found: a galloping search on the date (steps doubling, then halving),
// which costs a few steps where results lie close together, as those of a common word do, and a
// binary search's where they lie far apart. Where Recents is out of date order (the clock was set
// back) a result may keep its own object.
QList<PBContentPtr> CategoryLists::ownObjects(QList<PBContentPtr> items) const
{
    const QList<PBContentPtr>& recent = (*this)[Category::Recents];
    qsizetype from = 0;
    for (PBContentPtr& item : items) {
        qsizetype to = from;
        for (qsizetype step = 1; to < recent.size() && recent[to]->date > item->date; step *= 2) {
            from = to + 1;
            to += step;
        }
        to = std::min(to, recent.size());
        while (from < to) {
            const qsizetype middle = from + (to - from) / 2;
            if (recent[middle]->date > item->date)
                from = middle + 1;
            else
                to = middle;
        }
        for (qsizetype i = from; i < recent.size() && recent[i]->date == item->date; ++i) {
            if (recent[i]->itemUuid() == item->itemUuid()) {
                item = recent[i];
                break;
            }
        }
    }
    return items;
}
