#include "platform/wayland/ClipboardReaderWayland.h"

#include "platform/MimeTypeMapping.h"
#include "platform/wayland/DataControlDevice.h"
#include "support/Logging.h"

#include <QStringList>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace {
// What one read takes from a pipe, and what a pipe is asked to hold, so that a large format
// comes in few turns.
constexpr qsizetype pieceSize = 1 << 20;

int remainingMs(const QDeadlineTimer& deadline)
{
    return int(std::clamp<qint64>(deadline.remainingTime(), 0, INT_MAX));
}
} // namespace

ClipboardReaderWayland::ClipboardReaderWayland(const DataControlProtocol& protocol,
                                               QByteArray ownType, Delivery delivery,
                                               int deadlineMs)
    : m_protocol(protocol), m_ownType(std::move(ownType)), m_delivery(std::move(delivery)),
      m_deadlineMs(deadlineMs)
{}

ClipboardReaderWayland::~ClipboardReaderWayland()
{
    m_stopping.store(true);
    if (m_thread.joinable()) {
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(m_wakeFd, &one, sizeof one);
        m_thread.join();
    }
    for (const Change& change : m_changes) {
        if (change.offer)
            m_device->destroyOffer(change.offer);
    }
    m_device.reset();
    if (m_wakeFd >= 0)
        ::close(m_wakeFd);
}

bool ClipboardReaderWayland::start(QString* problem)
{
    m_device = DataControlDevice::open(m_protocol, problem);
    if (!m_device)
        return false;
    // The first selection announced is the content already on the clipboard: never recorded.
    bool first = true;
    m_device->setSelectionHandler([this, &first](wl_proxy* offer, const QList<QByteArray>& types) {
        if (!first) {
            m_changes.push_back({offer, types});
            return;
        }
        first = false;
        if (offer) {
            qCInfo(lcPlatform, "passed over the content on the clipboard at start");
            m_device->destroyOffer(offer);
        }
    });
    if (!m_device->roundtrip()) {
        *problem = QStringLiteral("the Wayland compositor closed the connection");
        return false;
    }
    m_device->setSelectionHandler([this](wl_proxy* offer, const QList<QByteArray>& types) {
        m_changes.push_back({offer, types});
    });
    m_wakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (m_wakeFd < 0) {
        *problem = QStringLiteral("no event descriptor left");
        return false;
    }
    m_thread = std::thread([this] { run(); });
    return true;
}

void ClipboardReaderWayland::run()
{
    while (!m_stopping.load()) {
        if (m_changes.empty()) {
            pollfd wake = {m_wakeFd, POLLIN, 0};
            if (!m_device->wait({&wake, 1}, -1)) {
                if (!m_stopping.load())
                    qCWarning(lcPlatform, "lost the connection to the Wayland compositor");
                return;
            }
            continue;
        }
        const Change change = m_changes.front();
        m_changes.pop_front();
        QList<PasteboardItem> items = read(change);
        if (change.offer)
            m_device->destroyOffer(change.offer);
        if (m_stopping.load())
            return;
        m_delivery(std::move(items));
    }
}

QList<PasteboardItem> ClipboardReaderWayland::read(const Change& change)
{
    // An empty clipboard, or this process's own write.
    if (!change.offer || change.types.contains(m_ownType) || overtaken())
        return {};
    QStringList formats;
    for (const QByteArray& type : change.types)
        formats.append(QString::fromUtf8(type));
    qCDebug(lcPlatform) << "clipboard formats:" << formats;
    QDeadlineTimer deadline(m_deadlineMs);
    QList<PasteboardItem> items = MimeTypeMapping::itemsFromFormats(
        formats, [&](const QString& format) { return receive(change.offer, format, deadline); });
    // Part of a change is not that change.
    return overtaken() ? QList<PasteboardItem>() : items;
}

std::optional<QByteArray> ClipboardReaderWayland::receive(wl_proxy* offer, const QString& format,
                                                          QDeadlineTimer& deadline)
{
    int fds[2];
    if (overtaken() || deadline.hasExpired() || ::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0)
        return std::nullopt;
    ::fcntl(fds[0], F_SETPIPE_SZ, int(pieceSize));
    m_device->receive(offer, format.toUtf8(), fds[1]);
    // The owner has its own copy of the writing end now; the pipe ends when it closes that.
    ::close(fds[1]);
    QByteArray whole;
    std::optional<QByteArray> result;
    while (!result) {
        pollfd waits[] = {{fds[0], POLLIN, 0}, {m_wakeFd, POLLIN, 0}};
        if (!m_device->wait(waits, remainingMs(deadline)) || overtaken())
            break;
        if (waits[0].revents == 0) {
            if (deadline.hasExpired())
                break;
            continue;
        }
        const qsizetype before = whole.size();
        whole.resize(before + pieceSize);
        const ssize_t got = ::read(fds[0], whole.data() + before, size_t(pieceSize));
        whole.resize(before + std::max<qsizetype>(got, 0));
        if (got == 0)
            result = std::move(whole);
        else if (got > 0)
            deadline = std::max(deadline, QDeadlineTimer(m_deadlineMs));
        else if (errno != EAGAIN && errno != EINTR)
            break;
    }
    ::close(fds[0]);
    return result;
}
