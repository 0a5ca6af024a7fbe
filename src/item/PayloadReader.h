#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Reads an item's payload back from where the history keeps it. Items loaded from the history
// hold only their payload paths; the store that loaded them hands each one its reader, so the
// item model knows nothing of how payloads are stored.
class PayloadReader
{
public:
    virtual ~PayloadReader() = default;

    // The payload's bytes; nullopt when it cannot be read.
    virtual std::optional<QByteArray> readPayload(const QString& path) const = 0;
};
