#pragma once

#include "platform/Pasteboard.h"

#include <QClipboard>
#include <QObject>

// The X11 clipboard (the CLIPBOARD selection) through Qt's xcb clipboard, with MIME formats
// mapped to and from the program's identifiers by MimeTypeMapping.
//
// X11 keeps no copy of a selection: what writeItem puts on the clipboard lives only while this
// process runs, and reading asks the owning application for each format at that moment.
class PasteboardX11 : public QObject, public Pasteboard
{
    Q_OBJECT

public:
    explicit PasteboardX11(QClipboard* clipboard, QObject* parent = nullptr);

    // The number of clipboard changes Qt has reported since construction, this process's own
    // writes included.
    qint64 changeCount() const override { return m_changeCount; }
    // Reads the owner's formats and their bytes at once; an owner that has gone gives no items.
    QList<PasteboardItem> pasteboardItems() override;
    void writeItem(const QStringList& types, const QList<QByteArray>& payloads) override;

private:
    void clipboardChanged(QClipboard::Mode mode);

    QClipboard* m_clipboard;
    qint64 m_changeCount = 0;
};
