#include "controls/MyVisualEffectView.h"

#include "controls/MyWindow.h"

MyVisualEffectView::MyVisualEffectView(QWidget* parent) : QWidget(parent)
{
    setBackgroundRole(QPalette::Window);
    setAutoFillBackground(true);
}

void MyVisualEffectView::mousePressEvent(QMouseEvent* event)
{
    if (!MyWindow::moveWindowByPress(this, event))
        QWidget::mousePressEvent(event);
}
