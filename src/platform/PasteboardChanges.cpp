#include "platform/PasteboardChanges.h"

void PasteboardChanges::changeRead(const QList<PasteboardItem>& items)
{
    m_items = items;
    ++m_count;
    if (m_handler) {
        m_handler();
        m_items.clear();
    }
}
