#pragma once

#include <QWidget>

// A window that can be dragged by any part of its background: a press that no control takes
// moves the window.
class MyWindow : public QWidget
{
    Q_OBJECT

public:
    explicit MyWindow(QWidget* parent = nullptr);

    // Hands a left press on `widget` to the window manager as the start of a window move.
    // False where the platform cannot move windows (the press is then left to others).
    static bool moveWindowByPress(QWidget* widget, QMouseEvent* event);

protected:
    void mousePressEvent(QMouseEvent* event) override;
};
