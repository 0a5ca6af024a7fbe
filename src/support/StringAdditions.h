#pragma once

#include "support/Clock.h"

#include <QByteArray>
#include <QString>
#include <optional>

// Text helpers shared by the capture code and the interface.
class StringAdditions
{
public:
    // Whether the whole text is a web address: http or https, a host of ASCII letters, digits,
    // hyphens and dots, an optional port and an optional path. Text starting with "www." is
    // tested with "http://" in front.
    static bool isUrl(const QString& text);

    // The text with every percent escape replaced by the byte it stands for, the bytes read as
    // UTF-8. nullopt when an escape is malformed or the bytes are not valid UTF-8.
    static std::optional<QString> decodeString(const QString& text);

    // The bytes read as UTF-8; nullopt when they are not valid UTF-8.
    static std::optional<QString> decodeUtf8(const QByteArray& bytes);

    // A byte count as "n B", "n KB", "n MB" or "n GB" (whole units, remainder dropped); the
    // empty string from 1 TB on.
    static QString stringWithSize(qint64 size);

    // A capture time relative to now, from the calendar fields of both in the local time zone:
    // "1 minute ago", "n minutes ago", "1 hour ago", "n hours ago" within the same day, "M-D HH:MM"
    // within the year, "Y-M-D  HH:MM" before. Differences of clock fields, not elapsed time.
    static QString stringWithDate(double date, const Clock& clock = Clock::system());
};
