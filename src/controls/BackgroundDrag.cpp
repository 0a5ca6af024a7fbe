#include "controls/BackgroundDrag.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace {
BackgroundDrag::MoveStarter& moveStarter()
{
    static BackgroundDrag::MoveStarter starter;
    return starter;
}

bool startMove(QWindow* window)
{
    if (!window)
        return false;
    const BackgroundDrag::MoveStarter& starter = moveStarter();
    return starter ? starter(window) : window->startSystemMove();
}
} // namespace

void BackgroundDrag::setMoveStarter(MoveStarter starter)
{
    moveStarter() = std::move(starter);
}

BackgroundDrag::BackgroundDrag(QWidget* background) : QObject(background), m_background(background)
{
    background->installEventFilter(this);
}

bool BackgroundDrag::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_background)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        return press(static_cast<QMouseEvent*>(event));
    case QEvent::MouseMove:
        return move(static_cast<QMouseEvent*>(event));
    case QEvent::MouseButtonRelease:
        return release(static_cast<QMouseEvent*>(event));
    default:
        return false;
    }
}

bool BackgroundDrag::press(QMouseEvent* event)
{
    m_pressedAt.reset();
    if (event->button() != Qt::LeftButton)
        return false;
    m_pressedAt = event->globalPosition();
    event->accept();
    return true;
}

bool BackgroundDrag::move(QMouseEvent* event)
{
    if (!m_pressedAt)
        return false;
    if (!(event->buttons() & Qt::LeftButton)) {
        m_pressedAt.reset();
        return false;
    }
    event->accept();
    const QPointF moved = event->globalPosition() - *m_pressedAt;
    if (moved.manhattanLength() <= QApplication::startDragDistance())
        return true;
    // The window manager takes the pointer from here on, up to the release.
    m_pressedAt.reset();
    startMove(m_background->window()->windowHandle());
    return true;
}

bool BackgroundDrag::release(QMouseEvent* event)
{
    if (!m_pressedAt || event->button() != Qt::LeftButton)
        return false;
    m_pressedAt.reset();
    event->accept();
    return true;
}
