#pragma once

#include <QWidget>

// A window that can be dragged by any part of its background: a drag that starts on a spot no
// control takes moves the window once it goes beyond the drag distance.
class MyWindow : public QWidget
{
    Q_OBJECT

public:
    explicit MyWindow(QWidget* parent = nullptr);
};
