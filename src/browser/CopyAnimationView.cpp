#include "browser/CopyAnimationView.h"

#include <QPainter>
#include <QPainterPath>
#include <QPauseAnimation>
#include <QPropertyAnimation>
#include <QSequentialAnimationGroup>
#include <QVariantAnimation>

namespace {
const QColor kPanelColor(0xFF, 0xC0, 0x39);
const QColor kStrokeColor(0x9C, 0x27, 0xB0);
constexpr int kContainerSide = 24;
constexpr qreal kStrokeWidth = 2.0;
constexpr int kSlideDuration = 300;
constexpr int kCircleDuration = 200;
constexpr int kCheckDuration = 100;
constexpr int kPauseDuration = 500;

// An open ring of radius 11 around the centre of the drawing area, from 35 degrees over the top
// and the left round to -35 degrees, leaving its opening on the right.
QPainterPath circlePath()
{
    constexpr qreal radius = kContainerSide / 2.0 - 1.0;
    const QRectF bounds(kContainerSide / 2.0 - radius, kContainerSide / 2.0 - radius, 2 * radius,
                        2 * radius);
    QPainterPath path;
    path.arcMoveTo(bounds, 35.0);
    path.arcTo(bounds, 35.0, 290.0);
    return path;
}

// Down to the right, then up to the right, in proportions of the drawing area's side.
QPainterPath checkPath()
{
    constexpr qreal side = kContainerSide;
    QPainterPath path(QPointF(0.25 * side, side - 0.5 * side));
    path.lineTo(0.42 * side, side - 0.32 * side);
    path.lineTo(0.75 * side, side - 0.65 * side);
    return path;
}

// Strokes the first `strokeEnd` (0 to 1) of `path`'s length, as one dash of that length.
void strokePart(QPainter& painter, const QPainterPath& path, qreal strokeEnd)
{
    if (strokeEnd <= 0.0)
        return;
    QPen pen(kStrokeColor, kStrokeWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    if (strokeEnd < 1.0) {
        // Dash lengths are in units of the pen's width.
        const qreal length = path.length() / kStrokeWidth;
        pen.setDashPattern({length * strokeEnd, length + 1.0});
    }
    painter.setPen(pen);
    painter.drawPath(path);
}
} // namespace

CopyAnimationView* CopyAnimationView::startAnimationInView(QWidget* host)
{
    const QRect bounds = host->rect();
    auto* panel = new CopyAnimationView(bounds.translated(bounds.width(), 0), host);
    panel->raise();
    panel->show();
    panel->startAnimation();
    return panel;
}

CopyAnimationView::CopyAnimationView(const QRect& frame, QWidget* host)
    : QWidget(host),
      m_animationContainer((frame.width() - kContainerSide) / 2,
                           (frame.height() - kContainerSide) / 2, kContainerSide, kContainerSide),
      m_sequence(new QSequentialAnimationGroup(this))
{
    setObjectName(QStringLiteral("copyAnimationView"));
    // The row beneath keeps taking clicks while the confirmation plays over it.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(frame);
    buildSequence();
}

QAbstractAnimation* CopyAnimationView::animation() const
{
    return m_sequence;
}

void CopyAnimationView::buildSequence()
{
    m_sequence->addAnimation(slide(QRect(QPoint(0, 0), size())));
    m_sequence->addAnimation(stroke(&m_circleStrokeEnd, kCircleDuration));
    m_sequence->addAnimation(stroke(&m_checkStrokeEnd, kCheckDuration));
    m_sequence->addAnimation(new QPauseAnimation(kPauseDuration));

    // The way out is measured when it starts: the host may have been resized meanwhile.
    QPropertyAnimation* slideOut = slide(QRect());
    connect(slideOut, &QAbstractAnimation::stateChanged, this,
            [this, slideOut](QAbstractAnimation::State state) {
                if (state != QAbstractAnimation::Running)
                    return;
                const QRect bounds = parentWidget()->rect();
                slideOut->setEndValue(bounds.translated(bounds.width(), 0));
            });
    m_sequence->addAnimation(slideOut);
    connect(m_sequence, &QAbstractAnimation::finished, this, &QObject::deleteLater);
}

QPropertyAnimation* CopyAnimationView::slide(const QRect& to)
{
    auto* animation = new QPropertyAnimation(this, "geometry");
    animation->setDuration(kSlideDuration);
    animation->setEasingCurve(QEasingCurve::InOutQuad);
    animation->setEndValue(to);
    return animation;
}

QAbstractAnimation* CopyAnimationView::stroke(qreal* strokeEnd, int duration)
{
    auto* animation = new QVariantAnimation;
    animation->setDuration(duration);
    animation->setStartValue(0.0);
    animation->setEndValue(1.0);
    connect(animation, &QVariantAnimation::valueChanged, this,
            [this, strokeEnd](const QVariant& value) {
                *strokeEnd = value.toReal();
                update();
            });
    return animation;
}

void CopyAnimationView::startAnimation()
{
    m_sequence->start();
}

void CopyAnimationView::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.fillRect(rect(), kPanelColor);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(m_animationContainer.topLeft());
    strokePart(painter, circlePath(), m_circleStrokeEnd);
    strokePart(painter, checkPath(), m_checkStrokeEnd);
}
