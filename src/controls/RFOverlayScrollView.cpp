#include "controls/RFOverlayScrollView.h"

#include "controls/RFOverlayScroller.h"
#include "support/Clock.h"

#include <QAbstractScrollArea>
#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>
#include <QTreeView>

RFOverlayScrollView::RFOverlayScrollView(QAbstractScrollArea* area)
    : RFOverlayScrollView(area, Clock::system())
{}

RFOverlayScrollView::RFOverlayScrollView(QAbstractScrollArea* area, const Clock& clock)
    : QObject(area), m_area(area), m_scroller(new RFOverlayScroller(clock, area)),
      m_headerOffset(tableHeaderOffset(area))
{
    m_area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The area's own bar, hidden, still holds the range and the position; the overlay mirrors it.
    QScrollBar* own = m_area->verticalScrollBar();
    connect(own, &QScrollBar::rangeChanged, this, &RFOverlayScrollView::followRange);
    connect(own, &QScrollBar::valueChanged, m_scroller, &QScrollBar::setValue);
    connect(m_scroller, &QScrollBar::valueChanged, own, &QScrollBar::setValue);
    followRange(own->minimum(), own->maximum());
    m_scroller->setValue(own->value());
    m_area->installEventFilter(this);
    tile();
}

int RFOverlayScrollView::tableHeaderOffset(const QAbstractScrollArea* area)
{
    const QHeaderView* header = nullptr;
    if (const auto* table = qobject_cast<const QTableView*>(area))
        header = table->horizontalHeader();
    else if (const auto* tree = qobject_cast<const QTreeView*>(area))
        header = tree->header();
    return header && !header->isHidden() ? header->sizeHint().height() : 0;
}

bool RFOverlayScrollView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_area && event->type() == QEvent::Resize)
        tile();
    return QObject::eventFilter(watched, event);
}

// The views set the page step together with the range whenever their viewport changes size.
void RFOverlayScrollView::followRange(int minimum, int maximum)
{
    const QScrollBar* own = m_area->verticalScrollBar();
    m_scroller->setSingleStep(own->singleStep());
    m_scroller->setPageStep(own->pageStep());
    m_scroller->setRange(minimum, maximum);
    m_scroller->setVisible(maximum > minimum);
}

void RFOverlayScrollView::tile()
{
    const QRect bounds = m_area->contentsRect();
    const int width = m_scroller->sizeHint().width();
    m_scroller->setGeometry(bounds.right() + 1 - width, bounds.top() + m_headerOffset, width,
                            bounds.height() - m_headerOffset);
    m_scroller->raise();
}
