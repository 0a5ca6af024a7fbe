#include "item/ItemUuid.h"

#include <QHashFunctions>
#include <array>
#include <optional>

namespace {
constexpr qsizetype textLength = 36;

int upperHexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The 16 bytes of five groups of upper-case hexadecimal digits, 8-4-4-4-12, as QUuid writes them
// back; nullopt for any other text. One pass: a load reads a million of them.
std::optional<QUuid> usualForm(QByteArrayView text)
{
    if (text.size() != textLength)
        return std::nullopt;
    std::array<char, 16> bytes{};
    qsizetype digits = 0;
    for (qsizetype i = 0; i < textLength; ++i) {
        if (i == 8 || i == 13 || i == 18 || i == 23) {
            if (text[i] != '-')
                return std::nullopt;
            continue;
        }
        const int value = upperHexValue(text[i]);
        if (value < 0)
            return std::nullopt;
        bytes[size_t(digits / 2)] = char(bytes[size_t(digits / 2)] << 4 | value);
        ++digits;
    }
    return QUuid::fromRfc4122(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
}
} // namespace

ItemUuid ItemUuid::fromString(const QString& text)
{
    ItemUuid uuid;
    if (text.size() == textLength) {
        if (const std::optional<QUuid> bytes = usualForm(text.toLatin1())) {
            uuid.m_value = *bytes;
            return uuid;
        }
    }
    uuid.m_value = text;
    return uuid;
}

ItemUuid ItemUuid::fromUtf8(QByteArrayView utf8)
{
    ItemUuid uuid;
    if (const std::optional<QUuid> bytes = usualForm(utf8))
        uuid.m_value = *bytes;
    else if (!utf8.isNull())
        uuid.m_value = utf8.isEmpty() ? QStringLiteral("") : QString::fromUtf8(utf8);
    return uuid;
}

ItemUuid ItemUuid::fromBytes(const QUuid& bytes)
{
    ItemUuid uuid;
    uuid.m_value = bytes;
    return uuid;
}

QString ItemUuid::toString() const
{
    if (const QUuid* bytes = std::get_if<QUuid>(&m_value))
        return bytes->toString(QUuid::WithoutBraces).toUpper();
    return std::get<QString>(m_value);
}

bool ItemUuid::isEmpty() const
{
    const QString* text = std::get_if<QString>(&m_value);
    return text && text->isEmpty();
}

size_t ItemUuid::hash(size_t seed) const
{
    if (const QUuid* bytes = std::get_if<QUuid>(&m_value))
        return qHash(*bytes, seed);
    return qHash(std::get<QString>(m_value), seed);
}
