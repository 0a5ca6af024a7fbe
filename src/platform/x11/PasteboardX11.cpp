#include "platform/x11/PasteboardX11.h"

#include "platform/MimeTypeMapping.h"
#include "platform/x11/ClipboardReaderX11.h"
#include "support/ThreadPoster.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <xcb/xcb.h>

PasteboardX11::PasteboardX11(QClipboard* clipboard, QObject* parent)
    : QObject(parent), m_clipboard(clipboard), m_poster(new ThreadPoster(this))
{
    m_reader = std::make_unique<ClipboardReaderX11>(
        [this, poster = m_poster](QList<PasteboardItem> items) {
            poster->post([this, items = std::move(items)] { m_changes.changeRead(items); });
        });
    // Qt writes through windows of its own connection: changes they make are this process's.
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (x11 && x11->connection()) {
        const xcb_setup_t* setup = xcb_get_setup(x11->connection());
        m_reader->setOwnClient(setup->resource_id_base, setup->resource_id_mask);
    }
    m_reading = m_reader->start();
}

// The reader stops first, so that nothing is posted to the poster as it goes.
PasteboardX11::~PasteboardX11()
{
    m_reader.reset();
}

bool PasteboardX11::setChangeHandler(ChangeHandler handler)
{
    m_changes.setHandler(std::move(handler));
    return m_reading;
}

bool PasteboardX11::writeItem(const QStringList& types, const QList<QByteArray>& payloads)
{
    m_clipboard->setMimeData(MimeTypeMapping::mimeDataForItem(types, payloads).release(),
                             QClipboard::Clipboard);
    return true;
}
