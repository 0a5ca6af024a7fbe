#pragma once

#include <QScrollBar>
#include <QTimer>
#include <optional>

class Clock;

// A vertical scroll bar that floats over the content: it draws its knob only (no track), is
// fully opaque while the content scrolls or the pointer is over it, and dims to half opacity
// 1.5 s after the last scroll (fading over 0.3 s) or as soon as the pointer leaves it. Its
// opacity is a function of the clock it is given, so a test that sets the clock sees it at
// any moment; a frame timer only repaints while it changes.
class RFOverlayScroller : public QScrollBar
{
    Q_OBJECT

public:
    explicit RFOverlayScroller(QWidget* parent = nullptr);
    RFOverlayScroller(const Clock& clock, QWidget* parent = nullptr);

    // 1.0 when fully shown, 0.5 when dimmed, in between while fading.
    qreal opacity() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    // A change of opacity from one value to another over a stretch of time (seconds).
    struct Transition
    {
        qreal from = 1.0;
        qreal to = 1.0;
        double start = 0.0;
        double duration = 0.0;
        qreal valueAt(double time) const;
        double end() const { return start + duration; }
    };

    void scrolled();
    // Hides the scroller gradually once scrolling has stopped.
    void fadeOut();
    void animateTo(qreal opacity, double duration);
    Transition fadeStartingAt(double time) const;
    void settle(double now);
    void scheduleFrames();

    const Clock& m_clock;
    Transition m_transition;
    std::optional<double> m_fadeAt;
    bool m_pointerInside = false;
    QTimer m_frameTimer;
};
