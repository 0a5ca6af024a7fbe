#include "shell/CompanionEndpoint.h"

#include "recording/PBWatcher.h"
#include "storage/DBManager.h"
#include "storage/Retention.h"
#include "support/ChannelMessages.h"
#include "support/Logging.h"
#include "support/MessageChannel.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QPointer>

namespace {
constexpr qsizetype recentSummaryCount = 20;

QJsonArray summaries(const QList<PBContentPtr>& items)
{
    QJsonArray array;
    for (const PBContentPtr& item : items)
        array.append(item->contentExtension().toJson());
    return array;
}

// The summaries of the first items of one of the store's lists.
QJsonArray summaries(DBManager& store, Category category, qsizetype limit)
{
    QJsonArray array;
    for (qsizetype i = 0; i < store.listLength(category) && i < limit; ++i)
        array.append(store.itemAt(category, i)->contentExtension().toJson());
    return array;
}
} // namespace

CompanionEndpoint::CompanionEndpoint(MessageChannel& channel, DBManager& dbManager,
                                     Retention& retention, PBWatcher& watcher, QObject* parent)
    : QObject(parent), m_channel(channel), m_dbManager(dbManager), m_watcher(watcher),
      m_search(dbManager)
{
    passLaunchedMessage();
    m_channel.listenForMessage(ChannelMessages::isLaunched, this,
                               [this](const auto&) { passLaunchedMessage(); });
    m_channel.listenForMessage(ChannelMessages::requestRecent, this,
                               [this](const auto&) { recentRequested(); });
    m_channel.listenForMessage(ChannelMessages::requestMarked, this,
                               [this](const auto&) { markedRequested(); });
    m_channel.listenForMessage(ChannelMessages::copy, this,
                               [this](const auto& message) { copyRequested(message); });
    m_channel.listenForMessage(ChannelMessages::requestSearch, this,
                               [this](const auto& message) { searchRequested(message); });
    announceChanges(retention);
}

// Each message goes on the main thread once the lists hold the change, so that the companion,
// asking back, finds what it was told of: an insert's before the insert's completion runs, the
// others after their operation's.
void CompanionEndpoint::announceChanges(Retention& retention)
{
    // An insert puts the item at the front of its kind's list, then of Recents.
    connect(&m_dbManager, &DBManager::itemInserted, this, [this](Category category) {
        if (category == Category::Recents)
            m_channel.passMessageObject(
                m_dbManager.itemAt(Category::Recents, 0)->contentExtension().toJson(),
                ChannelMessages::inserted);
    });
    connect(&m_dbManager, &DBManager::deletionFinished, this,
            [this](const QList<PBContentPtr>& deleted) {
                m_channel.passMessageObject(summaries(deleted), ChannelMessages::deleted);
            });
    connect(&m_dbManager, &DBManager::marksUpdated, this, [this](const QList<PBContentPtr>& items) {
        if (!items.isEmpty())
            m_channel.passMessageObject(summaries(items), ChannelMessages::marked);
    });
    connect(&m_dbManager, &DBManager::itemsFetched, this, &CompanionEndpoint::passRecentItems);
    connect(&retention, &Retention::listsPruned, this, &CompanionEndpoint::passRecentItems);
}

void CompanionEndpoint::passLaunchedMessage()
{
    m_channel.passMessageObject(QStringLiteral(""), ChannelMessages::launched);
}

void CompanionEndpoint::passTerminalMessage()
{
    m_channel.passMessageObject(QStringLiteral(""), ChannelMessages::terminating);
}

void CompanionEndpoint::passRecentItems()
{
    m_channel.passMessageObject(summaries(m_dbManager, Category::Recents, recentSummaryCount),
                                ChannelMessages::recentItems);
}

// Until the first load the lists are empty, not the history: the newest rows are read from the
// table for the answer, and the load's end tells the recent items once more.
void CompanionEndpoint::recentRequested()
{
    if (m_dbManager.isLoaded()) {
        passRecentItems();
        return;
    }
    m_channel.passMessageObject(summaries(m_dbManager.newestItems(recentSummaryCount)),
                                ChannelMessages::recentItems);
    m_dbManager.loadOnce({});
}

void CompanionEndpoint::markedRequested()
{
    const QPointer<CompanionEndpoint> self(this);
    m_dbManager.loadOnce([self] {
        if (self)
            self->passMarkedItems();
    });
}

void CompanionEndpoint::passMarkedItems()
{
    m_channel.passMessageObject(
        summaries(m_dbManager, Category::Marked, m_dbManager.listLength(Category::Marked)),
        ChannelMessages::markedItems);
}

// The companion names an item among the recent ones. The write is the program's own, made
// through the watcher like every copy-back, so it is never recorded whatever has the focus.
void CompanionEndpoint::copyRequested(const std::optional<QJsonValue>& message)
{
    if (!message || !message->isObject())
        return;
    const QJsonObject request = message->toObject();
    const QString uuid = request.value(ChannelMessages::SummaryKeys::uuid).toString();
    const QString failure = copyItem(uuid);
    const QString token = request.value(ChannelMessages::SummaryKeys::reply).toString();
    if (token.isEmpty())
        return;
    namespace Keys = ChannelMessages::CopyAnswerKeys;
    QJsonObject answer{{Keys::uuid, uuid}, {Keys::copied, failure.isEmpty()}};
    if (!failure.isEmpty())
        answer.insert(Keys::error, failure);
    m_channel.passMessageObject(answer, ChannelMessages::copyAnswerPrefix + token);
}

// What went wrong, or an empty text when the item is on the clipboard. An item none of whose
// payloads can be read leaves the clipboard as it was: writing nothing would empty it.
QString CompanionEndpoint::copyItem(const QString& uuid)
{
    const qsizetype found = m_dbManager.indexOfUuid(Category::Recents, ItemUuid::fromString(uuid));
    if (uuid.isEmpty() || found < 0)
        return ChannelMessages::CopyErrors::noSuchItem;
    const PBContent::TypedPayloads typed =
        m_dbManager.itemAt(Category::Recents, found)->readTypedPayloads();
    if (typed.types.isEmpty()) {
        qCWarning(lcStorage).noquote()
            << "copy request: no payload of item" << uuid << "can be read";
        return ChannelMessages::CopyErrors::unreadable;
    }
    m_watcher.writeWithoutRecording(typed.types, typed.payloads);
    return {};
}

// A request without a reply token has nowhere to be answered; one that cannot be understood is
// answered with nothing found, so that the companion need not wait for its timeout.
void CompanionEndpoint::searchRequested(const std::optional<QJsonValue>& message)
{
    const QJsonObject request = message.value_or(QJsonValue()).toObject();
    const QString token = request.value(ChannelMessages::SearchKeys::reply).toString();
    if (token.isEmpty())
        return;
    const QString answer = ChannelMessages::searchAnswerPrefix + token;
    const std::optional<CompanionSearch::Query> query = CompanionSearch::queryOfRequest(request);
    if (!query) {
        m_channel.passMessageObject(QJsonArray(), answer);
        return;
    }
    QPointer<CompanionEndpoint> self(this);
    m_search.answer(*query, [self, answer](const QJsonArray& summaries) {
        if (self)
            self->m_channel.passMessageObject(summaries, answer);
    });
}
