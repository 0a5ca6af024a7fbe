#include "controls/MyWindow.h"

#include "controls/BackgroundDrag.h"

MyWindow::MyWindow(QWidget* parent) : QWidget(parent)
{
    new BackgroundDrag(this);
}
