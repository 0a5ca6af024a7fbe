#include "platform/PasteboardItem.h"

PasteboardItem::PasteboardItem(QStringList types, QList<std::pair<QString, QByteArray>> data)
    : m_types(std::move(types)), m_data(std::move(data))
{}

std::optional<QByteArray> PasteboardItem::dataForType(const QString& type) const
{
    for (const auto& [name, bytes] : m_data) {
        if (name == type)
            return bytes;
    }
    return std::nullopt;
}

std::optional<QString> PasteboardItem::stringForType(const QString& type) const
{
    const auto bytes = dataForType(type);
    if (!bytes)
        return std::nullopt;
    return QString::fromUtf8(*bytes);
}
