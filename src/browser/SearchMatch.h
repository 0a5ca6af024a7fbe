#pragma once

#include <QList>
#include <QString>
#include <optional>

// Where a search text matches a shown text, by the rule the history's search applies: % stands
// for any text, _ for any one character, and A-Z match without case (other letters only as
// they are), so what is highlighted is what made the row a result.
class SearchMatch
{
public:
    struct Range
    {
        qsizetype start = 0;
        qsizetype length = 0;
        bool operator==(const Range&) const = default;
    };

    // Every match in `text`, left to right, none overlapping and none empty; nothing for an
    // empty keyword or one of wildcards alone.
    static QList<Range> ranges(const QString& text, const QString& keyword);
    // The first match, looked for in the first `limit` characters only; nullopt when none.
    static std::optional<Range> first(const QString& text, const QString& keyword, qsizetype limit);
};
