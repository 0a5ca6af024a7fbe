#pragma once

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
};
