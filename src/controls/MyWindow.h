#pragma once

#include "controls/BackgroundDrag.h"

#include <QWidget>

// A window that can be dragged by any part of its background: a drag that starts on a spot no
// control takes moves the window once it goes beyond the drag distance.
class MyWindow : public QWidget
{
    Q_OBJECT

public:
    explicit MyWindow(QWidget* parent = nullptr);

protected:
    // Controls take their own presses; what reaches the window was a press on its background.
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    BackgroundDrag m_drag{this};
};
