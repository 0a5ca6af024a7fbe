#include "controls/RFOverlayScroller.h"

#include "support/Clock.h"

#include <QEasingCurve>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionSlider>
#include <cmath>

namespace {
constexpr qreal kShown = 1.0;
constexpr qreal kDimmed = 0.5;
constexpr double kScrollShowDuration = 0.25;
constexpr double kEnterShowDuration = 0.1;
constexpr double kFadeDelay = 1.5;
constexpr double kFadeDuration = 0.3;
constexpr int kFrameInterval = 16;
// The knob is narrower than the scroller and keeps this distance from its sides.
constexpr int kKnobInset = 3;
} // namespace

qreal RFOverlayScroller::Transition::valueAt(double time) const
{
    if (time >= end())
        return to;
    if (time <= start)
        return from;
    const qreal progress = QEasingCurve(QEasingCurve::InOutQuad)
                               .valueForProgress(static_cast<qreal>((time - start) / duration));
    return from + (to - from) * progress;
}

RFOverlayScroller::RFOverlayScroller(QWidget* parent) : RFOverlayScroller(Clock::system(), parent)
{}

RFOverlayScroller::RFOverlayScroller(const Clock& clock, QWidget* parent)
    : QScrollBar(Qt::Vertical, parent), m_clock(clock)
{
    setObjectName(QStringLiteral("overlayScroller"));
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    setMouseTracking(true);
    m_frameTimer.setSingleShot(true);
    connect(&m_frameTimer, &QTimer::timeout, this, &RFOverlayScroller::scheduleFrames);
    connect(this, &QScrollBar::valueChanged, this, &RFOverlayScroller::scrolled);
}

qreal RFOverlayScroller::opacity() const
{
    const double now = m_clock.now();
    if (m_fadeAt && now >= *m_fadeAt)
        return fadeStartingAt(*m_fadeAt).valueAt(now);
    return m_transition.valueAt(now);
}

void RFOverlayScroller::paintEvent(QPaintEvent* /*event*/)
{
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect slider =
        style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this);
    const QRectF knob = QRectF(slider).adjusted(kKnobInset, 1, -kKnobInset, -1);
    if (knob.isEmpty())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(opacity());
    QColor color = palette().color(QPalette::WindowText);
    color.setAlphaF(0.5f);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    const qreal radius = knob.width() / 2;
    painter.drawRoundedRect(knob, radius, radius);
}

void RFOverlayScroller::enterEvent(QEnterEvent* event)
{
    QScrollBar::enterEvent(event);
    m_pointerInside = true;
    animateTo(kShown, kEnterShowDuration);
}

void RFOverlayScroller::leaveEvent(QEvent* event)
{
    QScrollBar::leaveEvent(event);
    m_pointerInside = false;
    fadeOut();
}

void RFOverlayScroller::mouseMoveEvent(QMouseEvent* event)
{
    QScrollBar::mouseMoveEvent(event);
    animateTo(kShown, 0.0);
}

void RFOverlayScroller::scrolled()
{
    animateTo(kShown, kScrollShowDuration);
    // Under the pointer it stays shown; leaving dims it.
    if (!m_pointerInside)
        m_fadeAt = m_clock.now() + kFadeDelay;
    scheduleFrames();
}

void RFOverlayScroller::fadeOut()
{
    animateTo(kDimmed, kFadeDuration);
}

// Starts from wherever the opacity is now, and cancels a pending fade.
void RFOverlayScroller::animateTo(qreal opacity, double duration)
{
    const double now = m_clock.now();
    m_transition = Transition{this->opacity(), opacity, now, duration};
    m_fadeAt.reset();
    scheduleFrames();
}

RFOverlayScroller::Transition RFOverlayScroller::fadeStartingAt(double time) const
{
    return Transition{m_transition.valueAt(time), kDimmed, time, kFadeDuration};
}

// A pending fade that is due becomes the current transition.
void RFOverlayScroller::settle(double now)
{
    if (m_fadeAt && now >= *m_fadeAt) {
        m_transition = fadeStartingAt(*m_fadeAt);
        m_fadeAt.reset();
    }
}

void RFOverlayScroller::scheduleFrames()
{
    const double now = m_clock.now();
    settle(now);
    update();
    if (now < m_transition.end())
        m_frameTimer.start(kFrameInterval);
    else if (m_fadeAt)
        m_frameTimer.start(static_cast<int>(std::ceil((*m_fadeAt - now) * 1000)));
    else
        m_frameTimer.stop();
}
