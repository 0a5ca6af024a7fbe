#include "item/ItemUuid.h"

#include <QHashFunctions>

namespace {
constexpr qsizetype textLength = 36;

bool isUpperHex(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}

// Five groups of upper-case hexadecimal digits, 8-4-4-4-12, as QUuid writes them back.
bool isUsualForm(QByteArrayView text)
{
    if (text.size() != textLength)
        return false;
    for (qsizetype i = 0; i < textLength; ++i) {
        const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
        if (dash ? text[i] != '-' : !isUpperHex(text[i]))
            return false;
    }
    return true;
}
} // namespace

ItemUuid ItemUuid::fromString(const QString& text)
{
    ItemUuid uuid;
    if (text.size() == textLength) {
        const QByteArray latin1 = text.toLatin1();
        if (isUsualForm(latin1)) {
            uuid.m_value = QUuid::fromString(QLatin1StringView(latin1));
            return uuid;
        }
    }
    uuid.m_value = text;
    return uuid;
}

ItemUuid ItemUuid::fromUtf8(QByteArrayView utf8)
{
    ItemUuid uuid;
    if (isUsualForm(utf8))
        uuid.m_value = QUuid::fromString(QLatin1StringView(utf8));
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
