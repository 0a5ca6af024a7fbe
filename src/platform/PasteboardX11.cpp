#include "platform/PasteboardX11.h"

#include "platform/MimeTypeMapping.h"
#include "support/Logging.h"

#include <QMimeData>

PasteboardX11::PasteboardX11(QClipboard* clipboard, QObject* parent)
    : QObject(parent), m_clipboard(clipboard)
{
    connect(m_clipboard, &QClipboard::changed, this, &PasteboardX11::clipboardChanged);
}

void PasteboardX11::clipboardChanged(QClipboard::Mode mode)
{
    if (mode == QClipboard::Clipboard)
        ++m_changeCount;
}

QList<PasteboardItem> PasteboardX11::pasteboardItems()
{
    const QMimeData* mimeData = m_clipboard->mimeData(QClipboard::Clipboard);
    if (!mimeData)
        return {};
    // Qt lists the owner's TARGETS as they are (meta targets included) apart from a few
    // renames (UTF8_STRING, STRING and TEXT become text/plain, PIXMAP becomes image/ppm,
    // text/x-moz-url becomes text/uri-list); the mapping decides which of them to read.
    const QStringList formats = mimeData->formats();
    qCDebug(lcPlatform) << "clipboard formats:" << formats;
    return MimeTypeMapping::itemsFromFormats(
        formats, [mimeData](const QString& format) { return mimeData->data(format); });
}

void PasteboardX11::writeItem(const QStringList& types, const QList<QByteArray>& payloads)
{
    m_clipboard->setMimeData(MimeTypeMapping::mimeDataForItem(types, payloads).release(),
                             QClipboard::Clipboard);
}
