#include "browser/HistoryListView.h"

#include "browser/HistoryListModel.h"
#include "browser/HistoryRowDelegate.h"
#include "browser/TemplateIcon.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QToolButton>

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
    connect(m_bookmarkButton, &QToolButton::clicked, this, [this] {
        if (m_hovered.isValid()) {
            m_markHeld = true;
            emit markRequested(m_hovered);
        }
    });
    connect(m_openButton, &QToolButton::clicked, this, [this] {
        if (m_hovered.isValid())
            emit openRequested(m_hovered);
    });
    updateButtonIcons();
}

QToolButton* HistoryListView::makeButton(const QString& objectName)
{
    auto* button = new QToolButton(viewport());
    button->setObjectName(objectName);
    button->setAutoRaise(true);
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
}

void HistoryListView::keyPressEvent(QKeyEvent* event)
{
    QListView::keyPressEvent(event);
    if (event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete)
        emit deleteRequested();
}

bool HistoryListView::viewportEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseMove:
        pointerMoved(static_cast<QMouseEvent*>(event)->position().toPoint());
        break;
    case QEvent::Leave:
        m_pointer.reset();
        followPointer();
        break;
    default:
        break;
    }
    return QListView::viewportEvent(event);
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

QRect HistoryListView::rowRect(const QModelIndex& index)
{
    // Rows that came or went are laid out only later; the buttons and hosts need them now.
    executeDelayedItemsLayout();
    return visualRect(index);
}

void HistoryListView::followPointer()
{
    executeDelayedItemsLayout();
    const QModelIndex now = m_pointer ? indexAt(*m_pointer) : QModelIndex();
    if (now != m_hovered)
        m_markHeld = false;
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
    m_bookmarkButton->setProperty("marked", marked);
    m_bookmarkButton->setAccessibleName(marked ? tr("Unmark") : tr("Mark"));
    m_bookmarkButton->setToolTip(m_bookmarkButton->accessibleName());
    updateButtonIcons();
    m_bookmarkButton->setVisible(buttons.mark);
    m_openButton->setVisible(buttons.open);
}

void HistoryListView::updateButtonIcons()
{
    const QColor color = palette().color(QPalette::Text);
    const qreal dpr = devicePixelRatio();
    const bool marked = m_bookmarkButton->property("marked").toBool();
    m_bookmarkButton->setIcon(
        TemplateIcon::icon(marked ? QStringLiteral("bookmark_s") : QStringLiteral("bookmark_n"),
                           buttonSize, color, dpr));
    m_openButton->setIcon(TemplateIcon::icon(QStringLiteral("open"), buttonSize, color, dpr));
}

void HistoryListView::changeEvent(QEvent* event)
{
    QListView::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        updateButtonIcons();
}
