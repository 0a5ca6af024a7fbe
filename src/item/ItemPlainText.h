#pragma once

#include "item/PBContent.h"

#include <QString>
#include <functional>
#include <optional>

// What an item is as plain text, for pasting without formatting: a text or a web address as its
// plain-text form (read from a rich text when the item has no plain one), files as their paths
// one per line. An image has none.
class ItemPlainText
{
public:
    // Reads the item's plain text as the one payload of a plain-text clipboard entry; the
    // function keeps what it needs, so it may run on any thread. None for an image. The function
    // gives no payload when none of the item's texts can be read.
    static std::function<PBContent::TypedPayloads()> reading(const PBContentPtr& item);

private:
    static std::optional<QString> ofText(const PBContent::TypedPayloads& typed);
};
