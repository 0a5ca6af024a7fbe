#pragma once

#include "support/MessageChannel.h"

// A channel that delivers nothing and is never called back: for running without a companion.
class MessageChannelNull : public MessageChannel
{
public:
    void passMessageObject(const QJsonValue&, const QString&) override {}
    void listenForMessage(const QString&, QObject*, Listener) override {}
};
