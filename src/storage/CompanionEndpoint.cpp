#include "storage/CompanionEndpoint.h"

#include "capture/PBWatcher.h"
#include "storage/DBManager.h"
#include "support/ChannelMessages.h"
#include "support/MessageChannel.h"

#include <QJsonObject>
#include <algorithm>

CompanionEndpoint::CompanionEndpoint(MessageChannel& channel, DBManager& dbManager,
                                     PBWatcher& watcher, QObject* parent)
    : QObject(parent), m_channel(channel), m_dbManager(dbManager), m_watcher(watcher)
{
    passLaunchedMessage();
    m_channel.listenForMessage(ChannelMessages::isLaunched, this,
                               [this](const auto&) { passLaunchedMessage(); });
    m_channel.listenForMessage(ChannelMessages::requestRecent, this,
                               [this](const auto&) { m_dbManager.passRecentItems(); });
    m_channel.listenForMessage(ChannelMessages::requestMarked, this,
                               [this](const auto&) { m_dbManager.passMarkedItems(); });
    m_channel.listenForMessage(ChannelMessages::copy, this,
                               [this](const auto& message) { copyRequested(message); });
}

void CompanionEndpoint::passLaunchedMessage()
{
    m_channel.passMessageObject(QStringLiteral(""), ChannelMessages::launched);
}

void CompanionEndpoint::passTerminalMessage()
{
    m_channel.passMessageObject(QStringLiteral(""), ChannelMessages::terminating);
}

// The companion names an item among the recent ones. The write is the program's own, made while
// another application is active, so the watcher skips the change it causes.
void CompanionEndpoint::copyRequested(const std::optional<QJsonValue>& message)
{
    if (!message || !message->isObject())
        return;
    const QString uuid = message->toObject().value(ChannelMessages::SummaryKeys::uuid).toString();
    const QList<PBContentPtr>& recent = m_dbManager.recentItems();
    const ItemUuid wanted = ItemUuid::fromString(uuid);
    const auto found =
        std::find_if(recent.cbegin(), recent.cend(),
                     [&wanted](const PBContentPtr& item) { return item->itemUuid() == wanted; });
    if (uuid.isEmpty() || found == recent.cend())
        return;
    const PBContentPtr item = *found;
    m_watcher.writeWithoutRecording(item->pasteboardTypes(),
                                    item->dataArray().value_or(QList<QByteArray>()));
}
