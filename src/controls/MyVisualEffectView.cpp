#include "controls/MyVisualEffectView.h"

#include "controls/BackgroundDrag.h"

MyVisualEffectView::MyVisualEffectView(QWidget* parent) : QWidget(parent)
{
    setBackgroundRole(QPalette::Window);
    setAutoFillBackground(true);
    new BackgroundDrag(this);
}
