#pragma once

#include "platform/PasteboardItem.h"

#include <QList>

// The system clipboard as the capture and copy-back code sees it. Types are the program's own
// identifiers (public.utf8-plain-text, public.png, public.file-url, ...); an implementation
// translates them to and from what the platform uses.
class Pasteboard
{
public:
    virtual ~Pasteboard() = default;

    // A number that moves whenever any process changes the clipboard's content, this one
    // included. Only equality is meaningful.
    virtual qint64 changeCount() const = 0;

    // The clipboard's current items, read in full, in the clipboard's order. Empty when the
    // clipboard holds nothing or the content must not be recorded.
    virtual QList<PasteboardItem> pasteboardItems() = 0;

    // Clears the clipboard and writes payloads[i] under types[i], stopping at the end of the
    // shorter list, as one operation.
    virtual void writeItem(const QStringList& types, const QList<QByteArray>& payloads) = 0;
};
