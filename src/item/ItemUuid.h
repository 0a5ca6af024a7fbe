#pragma once

#include <QByteArrayView>
#include <QString>
#include <QUuid>
#include <variant>

// An item's uuid as the lists hold it. The upper-case form every new item gets is kept as its 16
// bytes, a quarter of the text's cost in a list of a million items; any other text (an older
// history's, a hand-made row's) is kept as it stands, so toString() always gives back the stored
// text exactly.
class ItemUuid
{
public:
    ItemUuid() = default;
    static ItemUuid fromString(const QString& text);
    // The column's UTF-8 bytes, without making a string of the usual form first.
    static ItemUuid fromUtf8(QByteArrayView utf8);
    // The uuid of the usual form with these 16 bytes.
    static ItemUuid fromBytes(const QUuid& bytes);

    // The 16 bytes when the uuid has the usual form, nullptr when it is kept as text.
    const QUuid* bytes() const { return std::get_if<QUuid>(&m_value); }

    QString toString() const;
    bool isEmpty() const;

    friend bool operator==(const ItemUuid& a, const ItemUuid& b) { return a.m_value == b.m_value; }
    friend size_t qHash(const ItemUuid& uuid, size_t seed = 0) { return uuid.hash(seed); }

private:
    size_t hash(size_t seed) const;

    std::variant<QString, QUuid> m_value;
};
