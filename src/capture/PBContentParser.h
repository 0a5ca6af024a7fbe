#pragma once

#include "capture/PBContent.h"
#include "support/Clock.h"
#include "support/UuidSource.h"

class PasteboardItem;

// Turns one pasteboard item into a clipboard item. The first type, in the item's own order, that
// one of the item classes supports decides the class; every type's bytes become the payloads.
class PBContentParser
{
public:
    // The clipboard item for the pasteboard item, or nullptr when none of its types is supported.
    // The source application, title, mark and payload paths are left for the caller.
    static PBContentPtr contentWithPasteboardItem(const PasteboardItem& item,
                                                  const Clock& clock = Clock::system(),
                                                  const UuidSource& uuids = UuidSource::random());

private:
    // The item of the class the type belongs to, with its searchable text; nullptr for a type
    // of no class.
    static PBContentPtr contentForType(const PasteboardItem& item, const QString& type,
                                       const Clock& clock, const UuidSource& uuids,
                                       QString& searchableText);
};
