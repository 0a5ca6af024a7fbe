#include "browser/HistoryListView.h"

#include "browser/HistoryListModel.h"
#include "browser/HistoryRowDelegate.h"
#include "browser/RowArtworkCache.h"
#include "controls/TemplateButton.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>

namespace {
const QSize buttonSize(HistoryRowDelegate::buttonSize, HistoryRowDelegate::buttonSize);
}

HistoryListView::HistoryListView(QWidget* parent)
    : QListView(parent), m_bookmarkButton(makeButton(QStringLiteral("bookmarkButton"))),
      m_openButton(makeButton(QStringLiteral("openButton")))
{
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::NoFrame);
    viewport()->setMouseTracking(true);
    m_openButton->setAccessibleName(tr("Open"));
    m_openButton->setToolTip(tr("Open"));
    connect(m_bookmarkButton, &TemplateButton::clicked, this, [this] {
        if (m_hovered.isValid()) {
            m_markHeld = true;
            emit markRequested(m_hovered);
        }
    });
    connect(m_openButton, &TemplateButton::clicked, this, [this] {
        if (m_hovered.isValid())
            emit openRequested(m_hovered);
    });
    m_bookmarkButton->setImage(HistoryRowDelegate::image(QStringLiteral("bookmark_n")));
    m_openButton->setImage(HistoryRowDelegate::image(QStringLiteral("open")));
}

TemplateButton* HistoryListView::makeButton(const QString& objectName)
{
    auto* button = new TemplateButton(viewport());
    button->setObjectName(objectName);
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedSize(buttonSize);
    button->setIconSize(buttonSize);
    button->hide();
    return button;
}

void HistoryListView::setModel(QAbstractItemModel* model)
{
    QListView::setModel(model);
    m_model = qobject_cast<HistoryListModel*>(model);
    if (!model)
        return;
    connect(model, &QAbstractItemModel::rowsInserted, this, &HistoryListView::followPointer);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &HistoryListView::followPointer);
    connect(model, &QAbstractItemModel::modelReset, this, &HistoryListView::followPointer);
    connect(model, &QAbstractItemModel::dataChanged, this, &HistoryListView::followPointer);
    // Not a dataChanged from the model: a list view lays out every row again on each one, which
    // a million rows cannot afford for every picture that comes in.
    if (m_model)
        connect(&m_model->artworkCache(), &RowArtworkCache::artworkReady, viewport(),
                qOverload<>(&QWidget::update));
}

QModelIndex HistoryListView::selectedIndex() const
{
    const QModelIndexList rows =
        selectionModel() ? selectionModel()->selectedRows() : QModelIndexList();
    return rows.isEmpty() ? QModelIndex() : rows.first();
}

template <class Handling> auto HistoryListView::asUserChoice(Handling&& handling)
{
    const QPersistentModelIndex before = selectedIndex();
    const auto handled = handling();
    const QModelIndex after = selectedIndex();
    if (after.isValid() && after != before)
        emit rowChosen(after);
    return handled;
}

void HistoryListView::keyPressEvent(QKeyEvent* event)
{
    asUserChoice([this, event] {
        QListView::keyPressEvent(event);
        return true;
    });
    if (event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete) {
        // Handled here: the window around the list must not act on it as well.
        event->accept();
        emit deleteRequested();
    }
}

bool HistoryListView::viewportEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseMove:
        pointerMoved(static_cast<QMouseEvent*>(event)->position().toPoint());
        [[fallthrough]];
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease:
        return asUserChoice([this, event] { return QListView::viewportEvent(event); });
    case QEvent::Leave:
        m_pointer.reset();
        followPointer();
        break;
    default:
        break;
    }
    return QListView::viewportEvent(event);
}

void HistoryListView::changeEvent(QEvent* event)
{
    QListView::changeEvent(event);
    if (event->type() == QEvent::ActivationChange)
        followPointer();
}

void HistoryListView::pointerMoved(const QPoint& position)
{
    m_pointer = position;
    followPointer();
}

void HistoryListView::scrollContentsBy(int dx, int dy)
{
    QListView::scrollContentsBy(dx, dy);
    followPointer();
}

// Taken away before the view moves the selection to a neighbouring row: a row the user did not
// choose would then become the current item.
void HistoryListView::rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end)
{
    const QModelIndex current = currentIndex();
    if (current.isValid() && current.row() >= start && current.row() <= end)
        selectionModel()->clear();
    QListView::rowsAboutToBeRemoved(parent, start, end);
}

void HistoryListView::rowsInserted(const QModelIndex& parent, int start, int end)
{
    m_mostRows = std::max(m_mostRows, model()->rowCount());
    QListView::rowsInserted(parent, start, end);
}

// Qt's list keeps a position for each row it lays out, in room as large as the longest list it
// has laid out: a search list that once showed most of a million rows would hold on to 8 MB for
// good. A list reset to fewer rows has its layout made anew, which a change of mode does.
void HistoryListView::reset()
{
    const int rows = model() ? model()->rowCount() : 0;
    if (rows < m_mostRows) {
        setViewMode(IconMode);
        setViewMode(ListMode);
    }
    m_mostRows = rows;
    QListView::reset();
}

QRect HistoryListView::rowRect(const QModelIndex& index)
{
    // Rows that came or went are laid out only later; the buttons and hosts need them now.
    executeDelayedItemsLayout();
    return visualRect(index);
}

void HistoryListView::followPointer()
{
    if (!m_pointer && !m_hovered.isValid())
        return;
    executeDelayedItemsLayout();
    // Only the window the user works in shows the buttons under the pointer.
    const QModelIndex now = m_pointer && isActiveWindow() ? indexAt(*m_pointer) : QModelIndex();
    if (now != m_hovered) {
        m_markHeld = false;
        viewport()->update();
    }
    m_hovered = now;
    const PBContentPtr item =
        m_model && now.isValid() ? m_model->contentWithRow(now.row()) : nullptr;
    if (!item) {
        m_bookmarkButton->hide();
        m_openButton->hide();
        return;
    }
    const auto buttons = HistoryRowDelegate::buttonsFor(*item, true, m_markHeld);
    const QRect row = rowRect(now);
    m_bookmarkButton->setGeometry(HistoryRowDelegate::markButtonRect(row));
    m_openButton->setGeometry(HistoryRowDelegate::openButtonRect(row));
    const bool marked = item->marked;
    m_bookmarkButton->setImage(HistoryRowDelegate::image(marked ? QStringLiteral("bookmark_s")
                                                                : QStringLiteral("bookmark_n")));
    m_bookmarkButton->setAccessibleName(marked ? tr("Unmark") : tr("Mark"));
    m_bookmarkButton->setToolTip(m_bookmarkButton->accessibleName());
    m_bookmarkButton->setVisible(buttons.mark);
    m_openButton->setVisible(buttons.open);
}
