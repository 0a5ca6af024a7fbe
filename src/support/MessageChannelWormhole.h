#pragma once

#include "support/MessageChannel.h"

#include <QDBusConnection>
#include <QHash>
#include <QList>
#include <QMutex>
#include <QObject>
#include <QPointer>
#include <memory>

class WriteFailureLog;

// The message channel between Vantrel and its companion client. Each message is written
// atomically as UTF-8 JSON to "<identifier>.archive" in the wormhole folder, then announced by
// the session-bus signal Posted(s identifier) on /org/vantrel/Wormhole, interface
// org.vantrel.Wormhole. Any process may announce; every listener filters by identifier and reads
// the file itself. Without a session bus the files are still written and nothing is announced.
//
// An identifier is a plain file name: ASCII letters, digits, '.', '-' and '_', not starting with
// '.'. Other identifiers are refused when passing, listening and receiving.
class MessageChannelWormhole : public QObject, public MessageChannel
{
    Q_OBJECT

public:
    // Messages larger than this are not read.
    static constexpr qint64 MaximumMessageSize = 16 * 1024 * 1024;

    // The channel over the files in folder, announcing on bus. The object moves itself to the
    // application's main thread, so that announcements are received even when it is created on a
    // thread without an event loop.
    explicit MessageChannelWormhole(const QString& folder = defaultFolder(),
                                    const QDBusConnection& bus = QDBusConnection::sessionBus());
    ~MessageChannelWormhole() override;

    // "$XDG_DATA_HOME/KP3W7H1Y6D.wormhole/wormhole".
    static QString defaultFolder();
    static bool isValidIdentifier(const QString& identifier);

    // The file form of a message: UTF-8 JSON text of a string, object or array (nullopt for any
    // other value), and back (nullopt for anything but one such value).
    static std::optional<QByteArray> encodeMessage(const QJsonValue& message);
    static std::optional<QJsonValue> decodeMessage(const QByteArray& bytes);

    // A string, object or array is written and announced. A null or undefined message is a
    // message without payload: it is announced without a file, and an older file of the
    // identifier is removed so that listeners get no object rather than a stale message. Other
    // values (numbers, booleans) are refused: nothing is written or announced. A message whose
    // file cannot be written (a full disk) is not announced either, and leaves the older file
    // whole; a run of such failures is logged once.
    void passMessageObject(const QJsonValue& message, const QString& identifier) override;
    void listenForMessage(const QString& identifier, QObject* context, Listener listener) override;

    // The latest message stored under the identifier: a string, object or array; nullopt when
    // the file is missing, not a regular file, too large, unreadable or not such a JSON value.
    std::optional<QJsonValue> readMessage(const QString& identifier) const;

    // Removes the message stored under the identifier without announcing anything: for an
    // answer meant for one reader, once it has read it.
    void removeMessage(const QString& identifier) const;

    // Calls done on the context's thread once the bus has taken every announcement made so far
    // (at once without a bus), so that a process may exit right after announcing.
    void flush(QObject* context, std::function<void()> done);

    bool isAnnouncing() const { return m_bus.isConnected(); }
    QString folder() const { return m_folder; }

signals:
    // Every announcement of a valid identifier, whether or not it has listeners.
    void messageAnnounced(const QString& identifier);

private slots:
    void onPosted(const QString& identifier);

private:
    struct Subscription
    {
        QPointer<QObject> context;
        Listener listener;
    };

    QString filePath(const QString& identifier) const;
    // 0 when the message's file holds the bytes, else the errno value of the failure.
    int writeMessage(const QByteArray& bytes, const QString& identifier) const;
    void announce(const QString& identifier);
    QList<Subscription> subscriptionsFor(const QString& identifier);

    const QString m_folder;
    QDBusConnection m_bus;
    QMutex m_mutex;
    QHash<QString, QList<Subscription>> m_subscriptions;
    std::unique_ptr<WriteFailureLog> m_writeFailures;
};
