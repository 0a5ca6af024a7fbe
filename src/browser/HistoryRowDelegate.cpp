#include "browser/HistoryRowDelegate.h"

#include "browser/HistoryListModel.h"
#include "browser/HistoryListView.h"
#include "browser/RowArtwork.h"
#include "browser/RowArtworkCache.h"
#include "browser/RowColors.h"
#include "browser/RowDescription.h"
#include "controls/TemplateImage.h"
#include "item/ContentIcons.h"

#include <QPainter>
#include <QWidget>
#include <algorithm>

// The resources live in a static library, so they are registered by hand before first use.
static void registerBrowserIcons()
{
    Q_INIT_RESOURCE(browser_icons);
}

namespace {
constexpr int comfortableIconSize = 40;
constexpr int compactIconSize = 28;
constexpr int lineGap = 4;
constexpr qreal smallFontScale = 0.85;
constexpr int focusFrameWidth = 2;
constexpr qreal selectedTimeOpacity = 0.8;

QString kindIconName(PBContentType type)
{
    switch (type) {
    case PBContentTypeFile:
        return QStringLiteral("kind_file");
    case PBContentTypeImage:
        return QStringLiteral("kind_image");
    case PBContentTypeURL:
        return QStringLiteral("kind_url");
    default:
        return QStringLiteral("kind_text");
    }
}

qreal pixelRatio(const QStyleOptionViewItem& option)
{
    return option.widget ? option.widget->devicePixelRatio() : 1.0;
}

bool isSelected(const QStyleOptionViewItem& option)
{
    return option.state & QStyle::State_Selected;
}

QColor iconColor(const QStyleOptionViewItem& option)
{
    return isSelected(option) ? RowColors::selectedText(option.palette)
                              : TemplateImage::color(option.palette);
}
} // namespace

QIcon HistoryRowDelegate::image(const QString& name)
{
    static const bool registered = (registerBrowserIcons(), true);
    Q_UNUSED(registered);
    return ContentIcons::resource(name);
}

HistoryRowDelegate::Buttons HistoryRowDelegate::buttonsFor(const PBContent& item, bool hovered,
                                                           bool markHeld)
{
    const bool opens = item.type() == PBContentTypeFile || item.type() == PBContentTypeURL;
    return {item.marked || (hovered && !markHeld), hovered && opens};
}

QRect HistoryRowDelegate::openButtonRect(const QRect& row)
{
    return QRect(row.right() + 1 - margin - buttonSize, row.top() + (row.height() - buttonSize) / 2,
                 buttonSize, buttonSize);
}

QRect HistoryRowDelegate::markButtonRect(const QRect& row)
{
    return openButtonRect(row).translated(-(buttonSize + buttonGap), 0);
}

void HistoryRowDelegate::setCompact(bool compact)
{
    if (compact == m_compact)
        return;
    m_compact = compact;
    emit sizeHintChanged(QModelIndex());
}

int HistoryRowDelegate::rowHeight() const
{
    return m_compact ? compactRowHeight : comfortableRowHeight;
}

int HistoryRowDelegate::iconSize() const
{
    return m_compact ? compactIconSize : comfortableIconSize;
}

QSize HistoryRowDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
    return QSize(option.rect.width(), rowHeight());
}

void HistoryRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const
{
    const auto* model = qobject_cast<const HistoryListModel*>(index.model());
    const PBContentPtr item = model ? model->contentWithRow(index.row()) : nullptr;
    if (!item)
        return;
    painter->save();
    paintBackground(painter, option, index);
    paintIcon(painter, option, index, *item);
    paintTexts(painter, option, index);
    // Under the pointer the view's own button covers this place.
    if (item->marked)
        painter->drawPixmap(markButtonRect(option.rect),
                            TemplateImage::pixmap(image(QStringLiteral("bookmark_s")),
                                                  QSize(buttonSize, buttonSize), pixelRatio(option),
                                                  iconColor(option)));
    painter->restore();
}

void HistoryRowDelegate::paintBackground(QPainter* painter, const QStyleOptionViewItem& option,
                                         const QModelIndex& index)
{
    const QPalette& palette = option.palette;
    const auto* view = qobject_cast<const HistoryListView*>(option.widget);
    if (isSelected(option))
        painter->fillRect(option.rect, RowColors::selectedFill(palette));
    else if (view && view->hoveredIndex() == index)
        painter->fillRect(option.rect, RowColors::hoverFill(palette));
    if ((option.state & QStyle::State_HasFocus) && !isSelected(option)) {
        painter->setPen(QPen(RowColors::focusFrame(palette), focusFrameWidth));
        painter->drawRect(option.rect.adjusted(1, 1, -1, -1));
    }
    painter->fillRect(QRect(option.rect.left(), option.rect.bottom(), option.rect.width(), 1),
                      palette.color(QPalette::Mid));
}

void HistoryRowDelegate::paintIcon(QPainter* painter, const QStyleOptionViewItem& option,
                                   const QModelIndex& index, PBContent& item) const
{
    const QRect box(option.rect.left() + margin,
                    option.rect.top() + (option.rect.height() - iconSize()) / 2, iconSize(),
                    iconSize());
    const auto* model = static_cast<const HistoryListModel*>(index.model());
    const RowArtwork* artwork = model->artwork(index);
    if (!artwork) {
        painter->drawPixmap(box, TemplateImage::pixmap(image(kindIconName(item.type())), box.size(),
                                                       pixelRatio(option), iconColor(option)));
        return;
    }
    if (!artwork->picture.isNull()) {
        QSize shown = artwork->picture.size().scaled(box.size(), Qt::KeepAspectRatio);
        QRect target(QPoint(), shown);
        target.moveCenter(box.center());
        painter->setRenderHint(QPainter::SmoothPixmapTransform);
        painter->drawImage(target, artwork->picture);
        return;
    }
    model->artworkCache().icon(item, artwork).paint(painter, box);
}

void HistoryRowDelegate::paintTexts(QPainter* painter, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const
{
    QFont small = option.font;
    if (small.pointSizeF() > 0)
        small.setPointSizeF(small.pointSizeF() * smallFontScale);
    else
        small.setPixelSize(int(small.pixelSize() * smallFontScale));
    const QFontMetrics descMetrics(option.font);
    const QFontMetrics timeMetrics(small);
    const int left = option.rect.left() + margin + iconSize() + margin;
    const int right = markButtonRect(option.rect).left() - margin;
    const int total = descMetrics.height() + lineGap + timeMetrics.height();
    const int top = option.rect.top() + (option.rect.height() - total) / 2;
    const QRect descRect(left, top, std::max(0, right - left), descMetrics.height());
    const QRect timeRect(left, descRect.bottom() + 1 + lineGap, descRect.width(),
                         timeMetrics.height());

    const auto* model = static_cast<const HistoryListModel*>(index.model());
    const RowDescription desc(index.data(Qt::DisplayRole).toString(), model->keyword(), option.font,
                              descRect.width());
    const bool selected = isSelected(option);
    const QColor text =
        selected ? RowColors::selectedText(option.palette) : option.palette.color(QPalette::Text);
    painter->setPen(text);
    desc.paint(painter, descRect, option.palette, selected);
    painter->setFont(small);
    QColor timeColor = RowColors::secondaryText(option.palette);
    if (selected) {
        timeColor = text;
        timeColor.setAlphaF(selectedTimeOpacity);
    }
    painter->setPen(timeColor);
    painter->drawText(timeRect,
                      (desc.isRightToLeft() ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter,
                      index.data(HistoryListModel::TimeRole).toString());
}
