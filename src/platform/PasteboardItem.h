#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>

// One item of the clipboard as read at the moment of a change: its type identifiers in the
// owner's order and the bytes of each type that could be read. Reading happens when the item is
// made, so an item stays valid after the owner has gone.
class PasteboardItem
{
public:
    PasteboardItem() = default;
    // Types in the owner's order; each type with bytes has an entry in `data` (a type without
    // one gave nothing when read).
    PasteboardItem(QStringList types, QList<std::pair<QString, QByteArray>> data);

    const QStringList& types() const { return m_types; }
    // The bytes of one type, or nothing when the type gave none. A zero-byte answer is data.
    std::optional<QByteArray> dataForType(const QString& type) const;
    // The bytes of one type read as UTF-8 text, or nothing when the type gave none.
    std::optional<QString> stringForType(const QString& type) const;

private:
    QStringList m_types;
    QList<std::pair<QString, QByteArray>> m_data;
};
