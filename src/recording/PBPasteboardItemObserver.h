#pragma once

#include "platform/PasteboardItem.h"

#include <QList>

// Receives the clipboard's items for each change the watcher passes on.
class PBPasteboardItemObserver
{
public:
    virtual ~PBPasteboardItemObserver() = default;
    virtual void pasteboardItemChanged(const QList<PasteboardItem>& items) = 0;
};
