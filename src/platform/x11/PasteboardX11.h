#pragma once

#include "platform/Pasteboard.h"
#include "platform/PasteboardChanges.h"

#include <QObject>
#include <memory>

class ClipboardReaderX11;
class DesktopEntryIndex;
class QClipboard;
class ThreadPoster;

// The X11 clipboard (the CLIPBOARD selection), with MIME formats mapped to and from the
// program's identifiers by MimeTypeMapping. Changes are read as they happen by a
// ClipboardReaderX11 on its own thread and connection, so no owner ever holds up the main
// thread; Qt's xcb clipboard is the writer.
//
// X11 keeps no copy of a selection: what writeItem puts on the clipboard lives only while this
// process runs.
class PasteboardX11 : public QObject, public Pasteboard
{
    Q_OBJECT

public:
    explicit PasteboardX11(QClipboard* clipboard, QObject* parent = nullptr);
    ~PasteboardX11() override;

    // The number of clipboard changes read since construction, this process's own writes
    // included. It moves once the change has been read.
    qint64 changeCount() const override { return m_changes.count(); }
    // The content of the latest change read; an owner that had gone, or that sent nothing in
    // time, gives no items.
    QList<PasteboardItem> pasteboardItems() override { return m_changes.items(); }
    bool writeItem(const QStringList& types, const QList<QByteArray>& payloads) override;
    bool setChangeHandler(ChangeHandler handler) override;
    // The owner of each change is known from its window, before anything is read.
    bool knowsOwners() const override { return m_reading; }
    void setIgnoredApplications(const QStringList& applicationIds) override;

private:
    void passIgnoredNames();

    QClipboard* m_clipboard;
    ThreadPoster* m_poster;
    std::unique_ptr<ClipboardReaderX11> m_reader;
    bool m_reading = false;
    PasteboardChanges m_changes;
    QStringList m_ignoredApplications;
    // Made when the first application is ignored: which window classes belong to a desktop
    // entry.
    std::unique_ptr<DesktopEntryIndex> m_desktopEntries;
};
