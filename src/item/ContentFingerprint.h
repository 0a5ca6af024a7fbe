#pragma once

#include "item/PBContent.h"

#include <QByteArray>
#include <QString>
#include <optional>

// What the copy-mode comparer remembers of an item to tell a repeat of it: the item type, the
// first pasteboard type and the first payload. Two items are equal when all three are; an item
// without pasteboard types or payloads has no fingerprint and so equals no item, not even itself.
//
// A first payload of up to largestKeptPayload bytes is kept as it is (shared with the item, not
// copied). A larger one is remembered by its size and a 128-bit hash instead, so that the comparer
// never keeps a huge copy alive after it has been stored.
class ContentFingerprint
{
public:
    static constexpr qsizetype largestKeptPayload = 1 << 20;

    // The item's fingerprint; nullopt when it lacks pasteboard types or payloads.
    static std::optional<ContentFingerprint> of(PBContent& item);

    bool operator==(const ContentFingerprint& other) const = default;

private:
    PBContentType m_type = PBContentTypeText;
    QString m_firstType;
    qsizetype m_payloadSize = 0;
    // The payload itself, or its hash when the payload is larger than largestKeptPayload; the
    // size tells which, so a small payload never meets a hash.
    QByteArray m_payload;
};
