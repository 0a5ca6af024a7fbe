#pragma once

#include "item/PBContent.h"

#include <QString>
#include <optional>

// What an item is as plain text, for pasting without formatting: a text or a web address as its
// plain-text form (read from a rich text when the item has no plain one), files as their paths
// one per line. An image has none.
class ItemPlainText
{
public:
    // Nothing for an image, or for an item none of whose texts can be read.
    static std::optional<QString> of(const PBContentPtr& item);

private:
    static std::optional<QString> ofText(const PBContent::TypedPayloads& typed);
};
