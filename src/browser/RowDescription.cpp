#include "browser/RowDescription.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPalette>
#include <QTextLayout>
#include <algorithm>

namespace {
const QChar ellipsis(0x2026);
// How much of the row the text before a match may take when the line starts later.
constexpr int contextShare = 4;
// The alpha of the highlight colour behind a match on an unselected row.
constexpr int matchFillAlpha = 110;
} // namespace

RowDescription::RowDescription(const QString& text, const QString& keyword, const QFont& font,
                               int width)
    : m_font(font), m_width(std::max(0, width)), m_rightToLeft(text.isRightToLeft())
{
    QList<SearchMatch::Range> matches = SearchMatch::ranges(text, keyword);
    const QFontMetrics metrics(m_font);
    QString shown = text;
    qsizetype shift = 0;
    if (!matches.isEmpty()) {
        const SearchMatch::Range& first = matches.first();
        const int matchEnd = metrics.horizontalAdvance(text.left(first.start + first.length));
        if (matchEnd > m_width - metrics.horizontalAdvance(ellipsis)) {
            const qsizetype start = startShortlyBefore(text, first);
            shown = ellipsis + text.mid(start);
            shift = 1 - start;
        }
    }
    m_shown = metrics.elidedText(shown, Qt::ElideRight, m_width);
    // An elided line ends with the ellipsis; a match reaches at most up to it.
    const qsizetype kept =
        m_shown == shown ? m_shown.size() : std::max<qsizetype>(0, m_shown.size() - 1);
    for (const SearchMatch::Range& match : std::as_const(matches)) {
        const qsizetype start = match.start + shift;
        const qsizetype end = std::min(start + match.length, kept);
        if (start >= 0 && end > start)
            m_highlights.append({start, end - start});
    }
}

// The text before the match takes about a quarter of the row, and never starts inside a
// surrogate pair.
qsizetype RowDescription::startShortlyBefore(const QString& text,
                                             const SearchMatch::Range& match) const
{
    const QFontMetrics metrics(m_font);
    const int room = m_width / contextShare;
    qsizetype start = match.start;
    while (start > 0 &&
           metrics.horizontalAdvance(
               QStringView(text).mid(start - 1, match.start - start + 1).toString()) <= room)
        --start;
    if (start > 0 && text.at(start).isLowSurrogate())
        --start;
    return start;
}

void RowDescription::paint(QPainter* painter, const QRect& rect, const QPalette& palette,
                           bool selected) const
{
    QTextLayout layout(m_shown, m_font);
    QTextOption option(m_rightToLeft ? Qt::AlignRight : Qt::AlignLeft);
    option.setWrapMode(QTextOption::NoWrap);
    option.setTextDirection(m_rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
    layout.setTextOption(option);
    QTextCharFormat match;
    if (selected) {
        match.setFontUnderline(true);
    } else {
        QColor fill = palette.color(QPalette::Highlight);
        fill.setAlpha(matchFillAlpha);
        match.setBackground(fill);
    }
    QList<QTextLayout::FormatRange> formats;
    for (const SearchMatch::Range& range : m_highlights)
        formats.append({int(range.start), int(range.length), match});
    layout.setFormats(formats);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(rect.width());
    layout.endLayout();
    const qreal top = rect.top() + (rect.height() - line.height()) / 2;
    layout.draw(painter, QPointF(rect.left(), top));
}
