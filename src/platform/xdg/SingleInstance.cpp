#include "platform/xdg/SingleInstance.h"

#include "support/Logging.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace {
constexpr qsizetype maxRequestBytes = 256;
constexpr auto retryInterval = std::chrono::milliseconds(50);

enum class Delivery { NotConnected, Answered, NoAnswer };

bool sendAll(int fd, const QByteArray& bytes)
{
    qsizetype sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n =
            ::send(fd, bytes.constData() + sent, size_t(bytes.size() - sent), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        sent += n;
    }
    return true;
}

// The first line the other side writes, or what came before it closed or the time ran out.
QByteArray readLine(int fd, const QDeadlineTimer& deadline)
{
    QByteArray line;
    while (!line.contains('\n') && line.size() < maxRequestBytes) {
        pollfd waiting = {fd, POLLIN, 0};
        const int ready = ::poll(&waiting, 1, int(deadline.remainingTime()));
        if (ready < 0 && errno == EINTR)
            continue;
        char buffer[64];
        const ssize_t n = ready > 0 ? ::read(fd, buffer, sizeof buffer) : 0;
        if (n <= 0)
            break;
        line.append(buffer, n);
    }
    return line.left(line.indexOf('\n'));
}

Delivery deliverTo(const QString& socketPath, const QByteArray& request,
                   const QDeadlineTimer& deadline)
{
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    const QByteArray path = QFile::encodeName(socketPath);
    if (size_t(path.size()) >= sizeof address.sun_path)
        return Delivery::NotConnected;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));

    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return Delivery::NotConnected;
    Delivery result = Delivery::NotConnected;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
        // Once a request went out it is never sent again: repeating "toggle-recording" to an
        // instance that was merely slow to answer would undo it.
        result = sendAll(fd, request + '\n') && readLine(fd, deadline) == "ok" ? Delivery::Answered
                                                                               : Delivery::NoAnswer;
    }
    ::close(fd);
    return result;
}
} // namespace

QString SingleInstance::defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) +
           QStringLiteral("/vantrel");
}

SingleInstance::SingleInstance(const QString& folder, QObject* parent)
    : QObject(parent), m_folder(folder)
{}

SingleInstance::~SingleInstance()
{
    if (m_server)
        m_server->close();
    if (m_lockFd >= 0)
        ::close(m_lockFd);
}

SingleInstance::Claim SingleInstance::claim(const QByteArray& request, int timeoutMs)
{
    if (!ensurePrivateFolder()) {
        qCWarning(lcPlatform) << "not a private folder of this user:" << m_folder;
        return Claim::Failed;
    }
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        if (tryLock())
            return Claim::Primary;
        switch (deliverTo(m_folder + QStringLiteral("/instance.socket"), request, deadline)) {
        case Delivery::Answered:
            return Claim::Delivered;
        case Delivery::NoAnswer:
            return Claim::Failed;
        case Delivery::NotConnected:
            break;
        }
        if (deadline.hasExpired())
            return Claim::Failed;
        std::this_thread::sleep_for(retryInterval);
    }
}

bool SingleInstance::ensurePrivateFolder() const
{
    const QByteArray path = QFile::encodeName(m_folder);
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST)
        return false;
    struct stat status = {};
    return ::lstat(path.constData(), &status) == 0 && S_ISDIR(status.st_mode) &&
           status.st_uid == ::getuid() && (status.st_mode & 077) == 0;
}

bool SingleInstance::tryLock()
{
    if (m_lockFd >= 0)
        return true;
    const QByteArray path = QFile::encodeName(m_folder + QStringLiteral("/instance.lock"));
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    m_lockFd = fd;
    return true;
}

bool SingleInstance::listen()
{
    if (m_lockFd < 0)
        return false;
    const QString path = m_folder + QStringLiteral("/instance.socket");
    // A socket file left by an instance that crashed; holding the lock, nobody else serves it.
    QLocalServer::removeServer(path);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::onNewConnection);
    if (!m_server->listen(path)) {
        qCWarning(lcPlatform) << "cannot serve" << path << m_server->errorString();
        return false;
    }
    return true;
}

void SingleInstance::onNewConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readRequest(socket); });
    }
}

void SingleInstance::readRequest(QLocalSocket* socket)
{
    if (!socket->canReadLine()) {
        if (socket->bytesAvailable() > maxRequestBytes) {
            socket->abort();
            socket->deleteLater();
        }
        return;
    }
    const QByteArray request = socket->readLine(maxRequestBytes).trimmed();
    // Answered before acting: the request may be to quit, after which nothing more is written.
    socket->write("ok\n");
    socket->flush();
    socket->disconnectFromServer();
    emit requestReceived(request);
}
