#include "platform/x11/PasteboardX11.h"

#include "platform/MimeTypeMapping.h"
#include "platform/x11/ClipboardReaderX11.h"
#include "platform/xdg/DesktopEntryIndex.h"
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

void PasteboardX11::setIgnoredApplications(const QStringList& applicationIds)
{
    m_ignoredApplications = applicationIds;
    if (!m_desktopEntries && !applicationIds.isEmpty()) {
        m_desktopEntries = std::make_unique<DesktopEntryIndex>();
        connect(m_desktopEntries.get(), &DesktopEntryIndex::refreshed, this,
                &PasteboardX11::passIgnoredNames);
    }
    passIgnoredNames();
}

// An application id names a desktop entry, whose windows may carry another class (its
// StartupWMClass), or it is itself the class of windows that have no entry.
void PasteboardX11::passIgnoredNames()
{
    QStringList names;
    for (const QString& id : std::as_const(m_ignoredApplications)) {
        names.append(id.toCaseFolded());
        for (const QString& windowClass : m_desktopEntries->windowClassesOfDesktopId(id))
            names.append(windowClass.toCaseFolded());
    }
    m_reader->setIgnoredNames(names);
}
