#pragma once

#include <QWidget>

class QAbstractAnimation;
class QPropertyAnimation;
class QSequentialAnimationGroup;

// The confirmation that an item went back to the clipboard: an amber panel slides in over its
// host from the right, an open purple ring and then a check mark are stroked in its centre, and
// after a pause the panel slides out to the right and removes itself.
class CopyAnimationView : public QWidget
{
    Q_OBJECT

public:
    // Starts a new panel over the whole of `host`, on top of its other children, and returns at
    // once; the panel is the host's child until it deletes itself at the end (about 1.4 s).
    // Several may run in one host at the same time, each on its own schedule.
    static CopyAnimationView* startAnimationInView(QWidget* host);

    // A panel with the geometry `frame` in `host` and its 24 x 24 drawing area centred in it.
    CopyAnimationView(const QRect& frame, QWidget* host);

    // The square in which the ring and the check mark are drawn, in the panel's coordinates.
    QRect animationContainer() const { return m_animationContainer; }

    // The whole sequence; it runs by itself once started, and stepping its current time shows
    // the panel at that moment.
    QAbstractAnimation* animation() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void buildSequence();
    QPropertyAnimation* slide(const QRect& to);
    QAbstractAnimation* stroke(qreal* strokeEnd, int duration);
    void startAnimation();

    QRect m_animationContainer;
    QSequentialAnimationGroup* m_sequence;
    qreal m_circleStrokeEnd = 0.0;
    qreal m_checkStrokeEnd = 0.0;
};
