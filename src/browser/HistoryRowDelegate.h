#pragma once

#include <QStyledItemDelegate>

class PBContent;
class QIcon;

// Paints a history row: the item's icon (its picture or the kind's icon until that is made), the
// description on one line with the search text's matches highlighted, the capture time under
// it, the mark of a marked item, the separator, and the selected row, the row under the pointer
// and the focused row in the palette's highlight colours. The buttons under the pointer are the
// list view's own widgets, placed where this draws them.
class HistoryRowDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    // The heights of comfortable rows (the default) and of compact ones, which show more items
    // in the same window with a smaller icon.
    static constexpr int comfortableRowHeight = 81;
    static constexpr int compactRowHeight = 44;
    static constexpr int margin = 12;
    static constexpr int buttonSize = 24;
    static constexpr int buttonGap = 4;

    // What a row shows at its right edge.
    struct Buttons
    {
        bool mark = false; // the mark button, with "bookmark_s" when the item is marked
        bool open = false;
    };
    // Marked items always show their mark; under the pointer every row shows it, and files and
    // web addresses their open button too. `markHeld` hides the mark of a row just unmarked
    // under the pointer, until the pointer leaves it.
    static Buttons buttonsFor(const PBContent& item, bool hovered, bool markHeld = false);
    // The places of the two buttons in a row.
    static QRect markButtonRect(const QRect& row);
    static QRect openButtonRect(const QRect& row);
    // One of the rows' pictures (":/icons/<name>.svg"): "bookmark_s", "bookmark_n", "open" and
    // the kinds' icons, all template images.
    static QIcon image(const QString& name);

    using QStyledItemDelegate::QStyledItemDelegate;

    // The view lays its rows out again when this changes.
    void setCompact(bool compact);
    int rowHeight() const;
    int iconSize() const;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    static void paintBackground(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index);
    void paintIcon(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index,
                   PBContent& item) const;
    void paintTexts(QPainter* painter, const QStyleOptionViewItem& option,
                    const QModelIndex& index) const;

    bool m_compact = false;
};
