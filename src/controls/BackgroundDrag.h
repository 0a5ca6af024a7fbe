#pragma once

#include <QObject>
#include <QPointF>
#include <functional>
#include <optional>

class QMouseEvent;
class QWidget;
class QWindow;

// Moves a window by a drag on its empty background. A left press is only remembered; the window
// manager is asked to move the window once the pointer, the left button still held, has gone
// further than the desktop's drag distance. A click or a touchpad tap therefore never moves the
// window, and a press that a control takes (a tab, a row, a button) never reaches here.
// It watches the background's mouse events as an event filter, so the background needs nothing
// but to make one.
class BackgroundDrag : public QObject
{
public:
    // Starts the window manager's move of a window; false where the platform cannot.
    using MoveStarter = std::function<bool(QWindow*)>;
    // Replaces how every background starts a move (tests have no window manager); an empty one
    // brings back QWindow::startSystemMove.
    static void setMoveStarter(MoveStarter starter);

    // Watches `background`, which owns it.
    explicit BackgroundDrag(QWidget* background);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Each returns true when the event was the drag's (and is accepted).
    bool press(QMouseEvent* event);
    bool move(QMouseEvent* event);
    bool release(QMouseEvent* event);

    QWidget* m_background;
    // Where the left button went down on the background, in global coordinates.
    std::optional<QPointF> m_pressedAt;
};
