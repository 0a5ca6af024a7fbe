#include "shell/CompanionSearch.h"

#include "storage/DBManager.h"
#include "support/ChannelMessages.h"

#include <QJsonObject>
#include <algorithm>
#include <array>
#include <memory>

namespace {
struct Kind
{
    QLatin1StringView name;
    Category category;
};

const std::array<Kind, 5> kinds{{
    {ChannelMessages::SearchKinds::text, Category::Text},
    {ChannelMessages::SearchKinds::image, Category::Image},
    {ChannelMessages::SearchKinds::url, Category::URL},
    {ChannelMessages::SearchKinds::file, Category::File},
    {ChannelMessages::SearchKinds::marked, Category::Marked},
}};

bool isOfKind(const PBContent& item, Category kind)
{
    switch (kind) {
    case Category::Recents:
        return true;
    case Category::Marked:
        return item.marked;
    default:
        return categoryOfType(item.type()) == kind;
    }
}

// Adds the items of the kind among `count` items, newest first, until the array holds the limit.
template <class ItemAt>
void addSummaries(QJsonArray& array, qsizetype count, const ItemAt& itemAt,
                  const CompanionSearch::Query& query)
{
    for (qsizetype i = 0; i < count && array.size() < query.limit; ++i) {
        const PBContentPtr item = itemAt(i);
        if (isOfKind(*item, query.kind))
            array.append(item->contentExtension().toJson());
    }
}
} // namespace

std::optional<CompanionSearch::Query> CompanionSearch::queryOfRequest(const QJsonValue& message)
{
    if (!message.isObject())
        return std::nullopt;
    namespace Keys = ChannelMessages::SearchKeys;
    const QJsonObject request = message.toObject();
    Query query;
    query.text = request.value(Keys::text).toString();
    query.limit = request.value(Keys::limit).toInteger(defaultLimit);
    if (query.limit <= 0)
        return std::nullopt;
    const QString kind = request.value(Keys::kind).toString();
    if (kind.isEmpty())
        return query;
    const auto found = std::find_if(kinds.cbegin(), kinds.cend(),
                                    [&kind](const Kind& entry) { return entry.name == kind; });
    if (found == kinds.cend())
        return std::nullopt;
    query.kind = found->category;
    return query;
}

CompanionSearch::CompanionSearch(DBManager& dbManager, QObject* parent)
    : QObject(parent), m_dbManager(dbManager)
{}

// The store's lists are newest first already, and a kind's list holds just that kind; a search
// is the one the windows run, stopped as soon as it found enough. Each search has a context of
// its own, since the store lets a context's later search stop its earlier one.
void CompanionSearch::answer(const Query& query, AnswerBlock block)
{
    if (query.text.isEmpty()) {
        QJsonArray array;
        addSummaries(
            array, m_dbManager.listLength(query.kind),
            [this, &query](qsizetype i) { return m_dbManager.itemAt(query.kind, i); }, query);
        block(array);
        return;
    }
    auto* context = new QObject(this);
    auto found = std::make_shared<QJsonArray>();
    m_dbManager.streamSearch(
        query.text, context,
        [this, context, found, query, block](const QList<ListedRow>& batch, bool last) {
            addSummaries(
                *found, batch.size(),
                [this, &batch](qsizetype i) { return m_dbManager.objectFor(batch[i]); }, query);
            if (!last && found->size() < query.limit)
                return;
            m_dbManager.stopSearch(context);
            context->deleteLater();
            block(*found);
        });
}
