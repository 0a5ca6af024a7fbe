#pragma once

#include "storage/Category.h"

#include <QJsonArray>
#include <QJsonValue>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class DBManager;

// Answers the companion's searches of the history with the windows' own search (the store's
// keyword search, newest first), or with the whole history when there is no text; narrowed to
// one kind or to the marked items, and cut to a number of items. Main thread.
class CompanionSearch : public QObject
{
    Q_OBJECT

public:
    // What a request asks for.
    struct Query
    {
        QString text;
        qsizetype limit = defaultLimit;
        // Recents for every kind; Marked for the marked items of every kind.
        Category kind = Category::Recents;
    };
    static constexpr qsizetype defaultLimit = 20;

    // The query of a request's message; nullopt for a message that is not a request or names
    // a kind there is not.
    static std::optional<Query> queryOfRequest(const QJsonValue& message);

    // The store must outlive the search.
    explicit CompanionSearch(DBManager& dbManager, QObject* parent = nullptr);

    // Calls the block with the summaries found, on the main thread: at once for a query without
    // text, once the search is done for one with text. Searches running side by side do not stop
    // one another.
    using AnswerBlock = std::function<void(const QJsonArray& summaries)>;
    void answer(const Query& query, AnswerBlock block);

private:
    DBManager& m_dbManager;
};
