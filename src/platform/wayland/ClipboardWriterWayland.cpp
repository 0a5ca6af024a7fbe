#include "platform/wayland/ClipboardWriterWayland.h"

#include "platform/wayland/DataControlDevice.h"
#include "support/Logging.h"

#include <QCoreApplication>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace {
// What one write gives a pipe at most.
constexpr qsizetype pieceSize = 1 << 20;
} // namespace

ClipboardWriterWayland::ClipboardWriterWayland(const DataControlProtocol& protocol,
                                               QByteArray ownType)
    : m_protocol(protocol), m_ownType(std::move(ownType))
{}

ClipboardWriterWayland::~ClipboardWriterWayland()
{
    m_stopping.store(true);
    if (m_thread.joinable()) {
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(m_wakeFd, &one, sizeof one);
        m_thread.join();
    }
    for (const Transfer& transfer : m_transfers)
        ::close(transfer.fd);
    if (m_device) {
        for (auto source = m_sources.cbegin(); source != m_sources.cend(); ++source)
            m_device->destroySource(source.key());
    }
    m_device.reset();
    if (m_wakeFd >= 0)
        ::close(m_wakeFd);
}

bool ClipboardWriterWayland::start(QString* problem)
{
    m_device = DataControlDevice::open(m_protocol, problem);
    if (!m_device)
        return false;
    m_device->setSourceHandlers(
        [this](wl_proxy* source, const QByteArray& type, int fd) { serve(source, type, fd); },
        [this](wl_proxy* source) { cancel(source); });
    m_wakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (m_wakeFd < 0) {
        *problem = QStringLiteral("no event descriptor left");
        return false;
    }
    m_thread = std::thread([this] { run(); });
    return true;
}

bool ClipboardWriterWayland::write(Formats formats)
{
    if (!m_thread.joinable() || formats.isEmpty())
        return false;
    {
        const std::lock_guard lock(m_mutex);
        m_pending.push_back(std::move(formats));
    }
    const uint64_t one = 1;
    return ::write(m_wakeFd, &one, sizeof one) == sizeof one;
}

void ClipboardWriterWayland::run()
{
    // A client that closes its pipe before it has read everything must end only that paste, not
    // this process: the write then fails with EPIPE instead.
    sigset_t pipeSignal;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipeSignal, nullptr);

    while (!m_stopping.load()) {
        std::vector<pollfd> fds = {{m_wakeFd, POLLIN, 0}};
        qint64 timeoutMs = -1;
        for (const Transfer& transfer : m_transfers) {
            fds.push_back({transfer.fd, POLLOUT, 0});
            const qint64 remaining = std::max<qint64>(transfer.deadline.remainingTime(), 0);
            timeoutMs = timeoutMs < 0 ? remaining : std::min(timeoutMs, remaining);
        }
        if (!m_device->wait(fds, int(std::min<qint64>(timeoutMs, INT_MAX)))) {
            if (!m_stopping.load())
                qCWarning(lcPlatform, "lost the connection to the Wayland compositor");
            return;
        }
        if (fds[0].revents & POLLIN) {
            uint64_t count = 0;
            [[maybe_unused]] const ssize_t got = ::read(m_wakeFd, &count, sizeof count);
            takeSelection();
        }
        // Transfers added by the events just handled have no entry in fds yet.
        const size_t polled = fds.size() - 1;
        std::vector<Transfer> going;
        for (size_t i = 0; i < m_transfers.size(); ++i) {
            Transfer& transfer = m_transfers[i];
            const bool ready = i < polled && fds[i + 1].revents != 0;
            if ((ready && !advance(transfer)) || (!ready && transfer.deadline.hasExpired()))
                ::close(transfer.fd);
            else
                going.push_back(std::move(transfer));
        }
        m_transfers = std::move(going);
    }
}

void ClipboardWriterWayland::takeSelection()
{
    std::deque<Formats> pending;
    {
        const std::lock_guard lock(m_mutex);
        pending.swap(m_pending);
    }
    for (Formats& formats : pending) {
        QList<QByteArray> types;
        for (const auto& [type, bytes] : std::as_const(formats))
            types.append(type.toUtf8());
        types.append(m_ownType);
        // The source that held the clipboard before is cancelled by the compositor, and goes then.
        if (wl_proxy* source = m_device->setSelection(types))
            m_sources.insert(source, std::move(formats));
    }
}

void ClipboardWriterWayland::serve(wl_proxy* source, const QByteArray& type, int fd)
{
    const Formats formats = m_sources.value(source);
    const auto format = std::find_if(formats.cbegin(), formats.cend(),
                                     [&](const auto& f) { return f.first.toUtf8() == type; });
    QByteArray bytes;
    if (format != formats.cend())
        bytes = format->second;
    else if (type == m_ownType)
        bytes = QByteArray::number(QCoreApplication::applicationPid());
    else {
        ::close(fd);
        return;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    m_transfers.push_back({fd, std::move(bytes), 0, QDeadlineTimer(stallLimitMs)});
}

void ClipboardWriterWayland::cancel(wl_proxy* source)
{
    m_sources.remove(source);
    m_device->destroySource(source);
}

// Writes the next piece; false once the transfer is over, done or failed.
bool ClipboardWriterWayland::advance(Transfer& transfer)
{
    const qsizetype left = std::min(transfer.bytes.size() - transfer.written, pieceSize);
    if (left <= 0)
        return false;
    const ssize_t put =
        ::write(transfer.fd, transfer.bytes.constData() + transfer.written, size_t(left));
    if (put < 0)
        return errno == EAGAIN || errno == EINTR;
    transfer.written += put;
    transfer.deadline = QDeadlineTimer(stallLimitMs);
    return transfer.written < transfer.bytes.size();
}
