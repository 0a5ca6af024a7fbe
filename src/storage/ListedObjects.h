#pragma once

#include "item/PBContent.h"

#include <QHash>
#include <array>
#include <memory>

class ListLoader;
struct ListedRow;

// The objects for the rows of the history lists: made when an item of a list is asked for, and
// one per row for as long as anything holds it, so that a row shown, selected and copied is the
// same object throughout. The last few made are held here too, so that a row painted again and
// again is not made anew each time; the rest go when their last user lets go. Main thread only.
class ListedObjects
{
public:
    // Objects are made through `loader`, which must outlive this.
    explicit ListedObjects(const ListLoader& loader);

    // The object for the row: the one in use, or one made now.
    PBContentPtr object(const ListedRow& row, const ItemUuid& uuid);
    // The object in use for the row, or nullptr.
    PBContentPtr find(qint64 rowId) const;
    // Makes `item` the row's object.
    void adopt(qint64 rowId, const PBContentPtr& item);
    // The row is gone: a later row never gets its object.
    void forget(qint64 rowId);
    // The rows were loaded anew: every row gets a new object.
    void clear();

private:
    void hold(const PBContentPtr& item);
    void sweep();

    const ListLoader& m_loader;
    QHash<qint64, std::weak_ptr<PBContent>> m_objects;
    // Objects whose users all let go leave their entries behind; those are swept out once the
    // entries have doubled since the last sweep.
    qsizetype m_sweepAt;
    std::array<PBContentPtr, 256> m_held;
    size_t m_nextHeld = 0;
};
