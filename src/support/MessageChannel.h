#pragma once

#include <QJsonValue>
#include <QString>
#include <functional>
#include <optional>

class QObject;

// Messages between the application and its companion client, each under an identifier. A
// message is a JSON value; a listener gets the latest message of its identifier, or nothing when
// it cannot be read.
class MessageChannel
{
public:
    using Listener = std::function<void(const std::optional<QJsonValue>& message)>;

    virtual ~MessageChannel() = default;

    // Stores the message under the identifier and announces it. Safe to call from any thread.
    virtual void passMessageObject(const QJsonValue& message, const QString& identifier) = 0;

    // Calls the listener on the context's thread each time a message of the identifier is
    // announced; nothing once the context is gone.
    virtual void listenForMessage(const QString& identifier, QObject* context,
                                  Listener listener) = 0;
};
