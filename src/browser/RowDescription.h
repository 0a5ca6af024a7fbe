#pragma once

#include "browser/SearchMatch.h"

#include <QFont>
#include <QList>
#include <QString>

class QPainter;
class QPalette;
class QRect;

// The description line of a history row, laid out for the row's width: when the first match of
// the search text lies beyond what fits, the line starts shortly before it (after an ellipsis);
// what still does not fit is cut at the text's own end, which for right-to-left text is its left
// side; every match is highlighted.
class RowDescription
{
public:
    RowDescription(const QString& text, const QString& keyword, const QFont& font, int width);

    // The text as it is drawn, ellipses included.
    const QString& shownText() const { return m_shown; }
    // The highlighted parts of shownText().
    const QList<SearchMatch::Range>& highlights() const { return m_highlights; }
    bool isRightToLeft() const { return m_rightToLeft; }

    // Draws the line in `rect`, vertically centred; `selected` rows stand on the highlight
    // colour, so their matches are underlined rather than filled.
    void paint(QPainter* painter, const QRect& rect, const QPalette& palette, bool selected) const;

private:
    qsizetype startShortlyBefore(const QString& text, const SearchMatch::Range& match) const;

    QFont m_font;
    int m_width;
    QString m_shown;
    QList<SearchMatch::Range> m_highlights;
    bool m_rightToLeft;
};
