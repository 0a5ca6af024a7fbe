#include "platform/doubles/PasteboardMemory.h"

#include <algorithm>

bool PasteboardMemory::writeItem(const QStringList& types, const QList<QByteArray>& payloads)
{
    const qsizetype n = std::min(types.size(), payloads.size());
    QList<std::pair<QString, QByteArray>> data;
    for (qsizetype i = 0; i < n; ++i)
        data.append({types[i], payloads[i]});
    setItems({PasteboardItem(types.first(n), data)});
    return true;
}

void PasteboardMemory::setItems(QList<PasteboardItem> items)
{
    m_items = std::move(items);
    ++m_changeCount;
    if (m_announces && m_changeHandler)
        m_changeHandler();
}

bool PasteboardMemory::setChangeHandler(ChangeHandler handler)
{
    m_changeHandler = std::move(handler);
    return m_announces;
}
