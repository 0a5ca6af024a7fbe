#pragma once

#include "support/MessageChannel.h"

#include <QList>
#include <QMutex>
#include <QMutexLocker>
#include <QString>
#include <utility>

// A message channel that keeps what was passed, for checking what the companion would be told.
// Passing may happen on any thread.
class RecordingChannel : public MessageChannel
{
public:
    void passMessageObject(const QJsonValue& message, const QString& identifier) override
    {
        QMutexLocker lock(&m_mutex);
        m_messages.append({identifier, message});
    }
    void listenForMessage(const QString& identifier, QObject*, Listener listener) override
    {
        m_listeners.append({identifier, std::move(listener)});
    }

    QList<QJsonValue> messages(const QString& identifier) const
    {
        QMutexLocker lock(&m_mutex);
        QList<QJsonValue> found;
        for (const auto& [id, message] : m_messages) {
            if (id == identifier)
                found.append(message);
        }
        return found;
    }

    // Delivers a message as if the companion had sent it.
    void deliver(const QString& identifier, const std::optional<QJsonValue>& message)
    {
        for (const auto& [id, listener] : m_listeners) {
            if (id == identifier)
                listener(message);
        }
    }

private:
    mutable QMutex m_mutex;
    QList<std::pair<QString, QJsonValue>> m_messages;
    QList<std::pair<QString, Listener>> m_listeners;
};
