#include "controls/MyVisualEffectView.h"

#include <QMouseEvent>

MyVisualEffectView::MyVisualEffectView(QWidget* parent) : QWidget(parent)
{
    setBackgroundRole(QPalette::Window);
    setAutoFillBackground(true);
}

void MyVisualEffectView::mousePressEvent(QMouseEvent* event)
{
    if (!m_drag.press(event))
        QWidget::mousePressEvent(event);
}

void MyVisualEffectView::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_drag.move(event))
        QWidget::mouseMoveEvent(event);
}

void MyVisualEffectView::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_drag.release(event))
        QWidget::mouseReleaseEvent(event);
}
