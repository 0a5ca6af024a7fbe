#include "support/MessageChannelWormhole.h"

#include "support/Logging.h"
#include "support/PrivateFiles.h"
#include "support/WriteFailureLog.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QStandardPaths>
#include <QThread>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const QString BusPath = QStringLiteral("/org/vantrel/Wormhole");
const QString BusInterface = QStringLiteral("org.vantrel.Wormhole");
const QString BusSignal = QStringLiteral("Posted");
constexpr qsizetype MaximumIdentifierLength = 200;

bool isPayloadKind(const QJsonValue& value)
{
    return value.isString() || value.isObject() || value.isArray();
}

// Reads a regular file of at most limit bytes. A symbolic link is not followed (it is not a
// message this channel wrote), and a FIFO planted under the name neither blocks the open nor is
// read.
std::optional<QByteArray> readRegularFile(const QString& path, qint64 limit)
{
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat status = {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size > limit) {
        ::close(fd);
        return std::nullopt;
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return std::nullopt;
    }
    // The file may have grown since fstat; one byte more than the limit tells.
    const QByteArray bytes = file.read(limit + 1);
    if (bytes.size() > limit || file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}
} // namespace

MessageChannelWormhole::MessageChannelWormhole(const QString& folder, const QDBusConnection& bus)
    : m_folder(QFileInfo(folder).absoluteFilePath()), m_bus(bus),
      m_writeFailures(std::make_unique<WriteFailureLog>(
          lcChannel(), QStringLiteral("messages in %1").arg(m_folder),
          QStringLiteral("the companion is not told of changes")))
{
    if (const QCoreApplication* app = QCoreApplication::instance();
        app && thread() != app->thread())
        moveToThread(app->thread());
    if (!m_bus.isConnected()) {
        qCDebug(lcChannel) << "no session bus: messages are written but not announced";
        return;
    }
    // QDBusConnection offers only the named-slot form of connect. An empty service subscribes to
    // the signal from every sender.
    if (!m_bus.connect(QString(), BusPath, BusInterface, BusSignal, this, SLOT(onPosted(QString))))
        qCWarning(lcChannel) << "cannot subscribe to" << BusInterface << BusSignal;
}

MessageChannelWormhole::~MessageChannelWormhole() = default;

QString MessageChannelWormhole::defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/KP3W7H1Y6D.wormhole/wormhole");
}

bool MessageChannelWormhole::isValidIdentifier(const QString& identifier)
{
    if (identifier.isEmpty() || identifier.size() > MaximumIdentifierLength ||
        identifier.startsWith(u'.'))
        return false;
    return std::all_of(identifier.cbegin(), identifier.cend(), [](QChar c) {
        return (c.unicode() < 128 && c.isLetterOrNumber()) || c == u'.' || c == u'-' || c == u'_';
    });
}

// QJsonDocument holds only objects and arrays, and a payload may be a bare string: the value
// travels as the single element of an array whose brackets are left out of the file.
std::optional<QByteArray> MessageChannelWormhole::encodeMessage(const QJsonValue& message)
{
    if (!isPayloadKind(message))
        return std::nullopt;
    const QByteArray text = QJsonDocument(QJsonArray{message}).toJson(QJsonDocument::Compact);
    return text.mid(1, text.size() - 2);
}

// The bracket wrap is sound for any input: "[" + text + "]" is a one-element array exactly when
// text is one JSON value with optional white space around it.
std::optional<QJsonValue> MessageChannelWormhole::decodeMessage(const QByteArray& bytes)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson('[' + bytes + ']', &error);
    if (error.error != QJsonParseError::NoError || document.array().size() != 1)
        return std::nullopt;
    const QJsonValue value = document.array().first();
    if (!isPayloadKind(value))
        return std::nullopt;
    return value;
}

void MessageChannelWormhole::passMessageObject(const QJsonValue& message, const QString& identifier)
{
    if (!isValidIdentifier(identifier)) {
        qCWarning(lcChannel) << "refused message identifier" << identifier;
        return;
    }
    if (message.isNull() || message.isUndefined()) {
        removeMessage(identifier);
        announce(identifier);
        return;
    }
    const std::optional<QByteArray> bytes = encodeMessage(message);
    if (!bytes) {
        qCWarning(lcChannel) << "message" << identifier << "is not a JSON string, object or array";
        return;
    }
    // Announcing a message that was not written would have listeners read an older one.
    if (const int failure = writeMessage(*bytes, identifier)) {
        m_writeFailures->failed(failure);
        return;
    }
    m_writeFailures->succeeded();
    announce(identifier);
}

void MessageChannelWormhole::listenForMessage(const QString& identifier, QObject* context,
                                              Listener listener)
{
    if (!isValidIdentifier(identifier) || !context || !listener) {
        qCWarning(lcChannel) << "refused listener for" << identifier;
        return;
    }
    QMutexLocker lock(&m_mutex);
    m_subscriptions[identifier].append({context, std::move(listener)});
}

std::optional<QJsonValue> MessageChannelWormhole::readMessage(const QString& identifier) const
{
    if (!isValidIdentifier(identifier))
        return std::nullopt;
    const std::optional<QByteArray> bytes =
        readRegularFile(filePath(identifier), MaximumMessageSize);
    if (!bytes)
        return std::nullopt;
    std::optional<QJsonValue> message = decodeMessage(*bytes);
    if (!message)
        qCInfo(lcChannel) << "message" << identifier << "is not a JSON string, object or array";
    return message;
}

void MessageChannelWormhole::flush(QObject* context, std::function<void()> done)
{
    if (!m_bus.isConnected()) {
        QMetaObject::invokeMethod(context, std::move(done), Qt::QueuedConnection);
        return;
    }
    // The bus handles one connection's messages in order: its answer to a call made now comes
    // after it has taken every signal sent before.
    const QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("GetId"));
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), context);
    connect(watcher, &QDBusPendingCallWatcher::finished, context,
            [watcher, done = std::move(done)] {
                watcher->deleteLater();
                done();
            });
}

void MessageChannelWormhole::onPosted(const QString& identifier)
{
    if (!isValidIdentifier(identifier))
        return;
    emit messageAnnounced(identifier);
    const QList<Subscription> subscriptions = subscriptionsFor(identifier);
    if (subscriptions.isEmpty())
        return;
    const std::optional<QJsonValue> message = readMessage(identifier);
    // Queued even on this thread, so that a listener may drop its context or this channel.
    for (const Subscription& subscription : subscriptions)
        QMetaObject::invokeMethod(
            subscription.context.data(),
            [listener = subscription.listener, message] { listener(message); },
            Qt::QueuedConnection);
}

QString MessageChannelWormhole::filePath(const QString& identifier) const
{
    return m_folder + u'/' + identifier + QStringLiteral(".archive");
}

int MessageChannelWormhole::writeMessage(const QByteArray& bytes, const QString& identifier) const
{
    if (!PrivateFiles::makeFolder(m_folder))
        return errno != 0 ? errno : EIO;
    const QString path = filePath(identifier);
    // The files are this channel's own: a link planted under the name is removed rather than
    // written through, and the message takes its place.
    if (QFileInfo(path).isSymLink() && !PrivateFiles::removeFile(path, m_folder))
        return errno != 0 ? errno : EIO;
    return PrivateFiles::replaceFile(path, bytes);
}

void MessageChannelWormhole::removeMessage(const QString& identifier) const
{
    if (isValidIdentifier(identifier))
        PrivateFiles::removeFile(filePath(identifier), m_folder);
}

void MessageChannelWormhole::announce(const QString& identifier)
{
    if (!m_bus.isConnected())
        return;
    QDBusMessage signal = QDBusMessage::createSignal(BusPath, BusInterface, BusSignal);
    signal << identifier;
    if (!m_bus.send(signal))
        qCWarning(lcChannel) << "cannot announce" << identifier << m_bus.lastError().message();
}

QList<MessageChannelWormhole::Subscription>
MessageChannelWormhole::subscriptionsFor(const QString& identifier)
{
    QMutexLocker lock(&m_mutex);
    const auto found = m_subscriptions.find(identifier);
    if (found == m_subscriptions.end())
        return {};
    found->removeIf([](const Subscription& subscription) { return subscription.context.isNull(); });
    return *found;
}
