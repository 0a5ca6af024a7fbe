#include "platform/wayland/PasteboardWayland.h"

#include "platform/MimeTypeMapping.h"
#include "platform/wayland/ClipboardReaderWayland.h"
#include "platform/wayland/ClipboardWriterWayland.h"
#include "platform/wayland/DataControlProtocol.h"
#include "support/Logging.h"
#include "support/ThreadPoster.h"

const QByteArray PasteboardWayland::ownType = QByteArrayLiteral("application/x-vantrel-owner");

PasteboardWayland::PasteboardWayland(const DataControlProtocol* protocol, QObject* parent)
    : QObject(parent), m_protocol(protocol), m_poster(new ThreadPoster(this))
{}

// The reader stops first, so that nothing is posted to the poster as it goes.
PasteboardWayland::~PasteboardWayland()
{
    m_reader.reset();
    m_writer.reset();
}

void PasteboardWayland::start()
{
    if (!m_protocol) {
        report(tr("Vantrel cannot record the clipboard: the compositor offers no data-control "
                  "protocol. Start Vantrel with VANTREL_WAYLAND_PATH=xwayland to record through "
                  "Xwayland."));
        return;
    }
    m_reader = std::make_unique<ClipboardReaderWayland>(
        *m_protocol, ownType, [this, poster = m_poster](QList<PasteboardItem> items) {
            poster->post([this, items = std::move(items)] { m_changes.changeRead(items); });
        });
    m_writer = std::make_unique<ClipboardWriterWayland>(*m_protocol, ownType);
    QString problem;
    if (!m_reader->start(&problem) || !m_writer->start(&problem)) {
        m_reader.reset();
        m_writer.reset();
        report(tr("Vantrel cannot record the clipboard: %1.").arg(problem));
        return;
    }
    qCInfo(lcPlatform, "watching the Wayland clipboard through %s", m_protocol->managerName());
}

bool PasteboardWayland::setChangeHandler(ChangeHandler handler)
{
    m_changes.setHandler(std::move(handler));
    return true;
}

bool PasteboardWayland::writeItem(const QStringList& types, const QList<QByteArray>& payloads)
{
    if (!m_writer) {
        qCWarning(lcPlatform, "cannot write the clipboard: no data-control connection");
        return false;
    }
    return m_writer->write(MimeTypeMapping::formatsForItem(types, payloads));
}

void PasteboardWayland::report(const QString& problem)
{
    if (!m_problem.isEmpty())
        return;
    m_problem = problem;
    qCWarning(lcPlatform).noquote() << problem;
    // Given from the event loop, so that whoever shows it has installed its handler by then.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (m_unavailableHandler)
                m_unavailableHandler(m_problem);
        },
        Qt::QueuedConnection);
}

void PasteboardWayland::setUnavailableHandler(UnavailableHandler handler)
{
    m_unavailableHandler = std::move(handler);
}
