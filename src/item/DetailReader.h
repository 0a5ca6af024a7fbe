#pragma once

#include <memory>

class ItemUuid;
struct ContentDetails;

// Reads a stored item's details back from the history. The store that loaded an item hands it
// its reader, so the item model knows nothing of how rows are stored.
class DetailReader
{
public:
    virtual ~DetailReader() = default;

    // The details of the row with this uuid; nullptr when there is no such row. Any thread.
    virtual std::shared_ptr<const ContentDetails> readDetails(const ItemUuid& uuid) const = 0;
    // The same details when they are held in memory already, else nullptr: never reads the
    // history, so the GUI thread may ask. Any thread.
    virtual std::shared_ptr<const ContentDetails> keptDetails(const ItemUuid& uuid) const = 0;
};
