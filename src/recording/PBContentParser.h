#pragma once

#include "item/PBContent.h"
#include "support/Clock.h"
#include "support/UuidSource.h"

#include <QByteArrayView>

class PasteboardItem;

// Turns one pasteboard item into a clipboard item. The first type, in the item's own order, that
// one of the item classes supports decides the class; every type's bytes become the payloads.
//
// The searchable text (the keyword) is at most the first keywordLimit bytes of the text, cut
// between two characters: search and the description need no more, and a copy of any size then
// costs the history and its memory no more than that. The payloads keep every byte.
class PBContentParser
{
public:
    static constexpr qsizetype keywordLimit = 1 << 20;

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
    // The item's plain text as far as it is kept; the null text when it has none.
    static QString plainText(const PasteboardItem& item, bool* whole = nullptr);
    // The text of the UTF-8 bytes, or of their first keywordLimit bytes when there are more;
    // `whole` tells which.
    static QString leadingText(QByteArrayView utf8, bool* whole = nullptr);
};
