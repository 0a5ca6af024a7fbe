#pragma once

#include <QObject>

class Clock;
class QAbstractScrollArea;
class RFOverlayScroller;

// Gives a scroll area (a list or table view) an overlay scroller: the area's own vertical scroll
// bar is switched off, so its content uses the full width, and an RFOverlayScroller that follows
// that bar floats over the right edge of the content, below the table header if there is one.
// The area owns it.
class RFOverlayScrollView : public QObject
{
    Q_OBJECT

public:
    explicit RFOverlayScrollView(QAbstractScrollArea* area);
    RFOverlayScrollView(QAbstractScrollArea* area, const Clock& clock);

    RFOverlayScroller* verticalScroller() const { return m_scroller; }

    // The height at the top of the area taken by a table header, which the scroller stays below.
    int headerOffset() const { return m_headerOffset; }

    // The height of the header of `area` when it is a table or tree view showing one, else 0.
    static int tableHeaderOffset(const QAbstractScrollArea* area);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void followRange(int minimum, int maximum);
    void tile();

    QAbstractScrollArea* m_area;
    RFOverlayScroller* m_scroller;
    int m_headerOffset;
};
