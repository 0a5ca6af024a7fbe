#include "browser/HistoryRowDelegate.h"

#include "browser/HistoryListModel.h"
#include "browser/RowArtwork.h"
#include "browser/RowArtworkCache.h"
#include "browser/TemplateIcon.h"

#include <QPainter>
#include <QWidget>
#include <algorithm>

namespace {
constexpr int lineGap = 4;
constexpr qreal smallFontScale = 0.85;

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
} // namespace

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

QSize HistoryRowDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
    return QSize(option.rect.width(), rowHeight);
}

void HistoryRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const
{
    const auto* model = qobject_cast<const HistoryListModel*>(index.model());
    const PBContentPtr item = model ? model->contentWithRow(index.row()) : nullptr;
    if (!item)
        return;
    painter->save();
    const QPalette& palette = option.palette;
    if (option.state & QStyle::State_Selected)
        painter->fillRect(option.rect, palette.color(QPalette::Mid));
    painter->fillRect(QRect(option.rect.left(), option.rect.bottom(), option.rect.width(), 1),
                      palette.color(QPalette::Mid));
    paintIcon(painter, option, index, *item);
    paintTexts(painter, option, index);
    // Under the pointer the view's own button covers this place.
    if (item->marked)
        painter->drawPixmap(
            markButtonRect(option.rect),
            TemplateIcon::pixmap(QStringLiteral("bookmark_s"), QSize(buttonSize, buttonSize),
                                 palette.color(QPalette::Text), pixelRatio(option)));
    painter->restore();
}

void HistoryRowDelegate::paintIcon(QPainter* painter, const QStyleOptionViewItem& option,
                                   const QModelIndex& index, PBContent& item)
{
    const QRect box(option.rect.left() + margin,
                    option.rect.top() + (option.rect.height() - iconSize) / 2, iconSize, iconSize);
    const auto* model = static_cast<const HistoryListModel*>(index.model());
    const RowArtwork* artwork = model->artwork(index);
    if (!artwork) {
        painter->drawPixmap(box, TemplateIcon::pixmap(kindIconName(item.type()), box.size(),
                                                      option.palette.color(QPalette::Text),
                                                      pixelRatio(option)));
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
                                    const QModelIndex& index)
{
    QFont small = option.font;
    if (small.pointSizeF() > 0)
        small.setPointSizeF(small.pointSizeF() * smallFontScale);
    else
        small.setPixelSize(int(small.pixelSize() * smallFontScale));
    const QFontMetrics descMetrics(option.font);
    const QFontMetrics timeMetrics(small);
    const int left = option.rect.left() + margin + iconSize + margin;
    const int right = markButtonRect(option.rect).left() - margin;
    const int total = descMetrics.height() + lineGap + timeMetrics.height();
    const int top = option.rect.top() + (option.rect.height() - total) / 2;
    const QRect descRect(left, top, std::max(0, right - left), descMetrics.height());
    const QRect timeRect(left, descRect.bottom() + 1 + lineGap, descRect.width(),
                         timeMetrics.height());

    const QString desc = index.data(Qt::DisplayRole).toString();
    painter->setFont(option.font);
    painter->setPen(option.palette.color(QPalette::Text));
    painter->drawText(descRect, Qt::AlignLeft | Qt::AlignVCenter,
                      descMetrics.elidedText(desc, Qt::ElideRight, descRect.width()));
    painter->setFont(small);
    painter->setPen(option.palette.color(QPalette::PlaceholderText));
    painter->drawText(timeRect, Qt::AlignLeft | Qt::AlignVCenter,
                      index.data(HistoryListModel::TimeRole).toString());
}
