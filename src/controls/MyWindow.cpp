#include "controls/MyWindow.h"

#include <QMouseEvent>

MyWindow::MyWindow(QWidget* parent) : QWidget(parent) {}

void MyWindow::mousePressEvent(QMouseEvent* event)
{
    if (!m_drag.press(event))
        QWidget::mousePressEvent(event);
}

void MyWindow::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_drag.move(event))
        QWidget::mouseMoveEvent(event);
}

void MyWindow::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_drag.release(event))
        QWidget::mouseReleaseEvent(event);
}
