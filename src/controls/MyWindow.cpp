#include "controls/MyWindow.h"

#include <QMouseEvent>
#include <QWindow>

MyWindow::MyWindow(QWidget* parent) : QWidget(parent) {}

bool MyWindow::moveWindowByPress(QWidget* widget, QMouseEvent* event)
{
    QWindow* window = widget->window()->windowHandle();
    if (event->button() != Qt::LeftButton || !window || !window->startSystemMove())
        return false;
    event->accept();
    return true;
}

// Controls take their own presses; what reaches the window was a press on its background.
void MyWindow::mousePressEvent(QMouseEvent* event)
{
    if (!moveWindowByPress(this, event))
        QWidget::mousePressEvent(event);
}
