#include "browser/SearchMatch.h"

#include <QRegularExpression>

namespace {

// The LIKE pattern as a regular expression. The wildcards at either end only widen a match
// to the whole text, so they are left out: the match is the part the user typed, and with
// something left on both sides of every % in between, no match is ever empty.
QRegularExpression expressionFor(QString keyword)
{
    while (keyword.startsWith(QLatin1Char('%')))
        keyword.remove(0, 1);
    while (keyword.endsWith(QLatin1Char('%')))
        keyword.chop(1);
    QString pattern;
    for (const QChar c : std::as_const(keyword)) {
        if (c == QLatin1Char('%'))
            pattern += QStringLiteral(".*?");
        else if (c == QLatin1Char('_'))
            pattern += QLatin1Char('.');
        else if (c.unicode() < 0x80 && c.isLetter())
            pattern += QStringLiteral("[%1%2]").arg(c.toLower(), c.toUpper());
        else
            pattern += QRegularExpression::escape(QString(c));
    }
    return QRegularExpression(pattern, QRegularExpression::DotMatchesEverythingOption);
}

} // namespace

QList<SearchMatch::Range> SearchMatch::ranges(const QString& text, const QString& keyword)
{
    QList<Range> found;
    const QRegularExpression expression = expressionFor(keyword);
    if (expression.pattern().isEmpty())
        return found;
    auto matches = expression.globalMatch(text);
    while (matches.hasNext()) {
        const QRegularExpressionMatch match = matches.next();
        found.append({match.capturedStart(), match.capturedLength()});
    }
    return found;
}

std::optional<SearchMatch::Range> SearchMatch::first(const QString& text, const QString& keyword,
                                                     qsizetype limit)
{
    const QRegularExpression expression = expressionFor(keyword);
    if (expression.pattern().isEmpty())
        return std::nullopt;
    const QRegularExpressionMatch match = expression.match(QStringView(text).left(limit));
    if (!match.hasMatch())
        return std::nullopt;
    return Range{match.capturedStart(), match.capturedLength()};
}
