#pragma once

#include "platform/PasteboardItem.h"

#include <QList>
#include <functional>

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

    // Called on the main thread once for each change, after changeCount() has moved and
    // pasteboardItems() has come to give that change's content. That content is given only
    // while the handler runs: a copy may be hundreds of megabytes, and the clipboard keeps none
    // of it once the handler has returned.
    using ChangeHandler = std::function<void()>;
    // Installs the handler (an empty one removes it). False when this implementation announces
    // no changes: whoever watches it must then look at changeCount() from time to time.
    virtual bool setChangeHandler(ChangeHandler handler)
    {
        Q_UNUSED(handler);
        return false;
    }

    // Called on the main thread, once, when the clipboard turns out to be out of reach; `problem`
    // says why and how to mend it, in words for the user. Implementations that are never out of
    // reach ignore it.
    using UnavailableHandler = std::function<void(const QString& problem)>;
    virtual void setUnavailableHandler(UnavailableHandler handler) { Q_UNUSED(handler); }

    // Whether the application that owns a clipboard content can be known before the content is
    // read (X11); where it cannot (Wayland), applications cannot be ignored.
    virtual bool knowsOwners() const { return false; }
    // The applications (their ids as the Workspace gives them) whose copies are never read: a
    // change whose owner is one of them gives no items, and none of its content is asked for.
    // Ignored where owners cannot be known.
    virtual void setIgnoredApplications(const QStringList& applicationIds)
    {
        Q_UNUSED(applicationIds);
    }

    // Clears the clipboard and writes payloads[i] under types[i], stopping at the end of the
    // shorter list, as one operation. True when the clipboard was asked to change, so that a
    // change follows; false when nothing could be written.
    virtual bool writeItem(const QStringList& types, const QList<QByteArray>& payloads) = 0;
};
