#pragma once

#include "platform/Pasteboard.h"
#include "platform/PasteboardItem.h"

#include <QList>

// The change count of a pasteboard whose changes are read off the main thread, and the content
// of the change being announced: each change read moves the count by one and is given to the
// change handler, and its content is held only while the handler runs (a copy may be hundreds
// of megabytes). Without a handler the latest content stays until the next change.
class PasteboardChanges
{
public:
    qint64 count() const { return m_count; }
    const QList<PasteboardItem>& items() const { return m_items; }
    void setHandler(Pasteboard::ChangeHandler handler) { m_handler = std::move(handler); }

    // Called on the main thread with each change read, in order.
    void changeRead(const QList<PasteboardItem>& items);

private:
    qint64 m_count = 0;
    QList<PasteboardItem> m_items;
    Pasteboard::ChangeHandler m_handler;
};
