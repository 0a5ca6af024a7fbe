#pragma once

#include <QWidget>

// A background panel in the palette's window colour; a drag from it beyond the drag distance
// moves its window (a click on it does nothing).
class MyVisualEffectView : public QWidget
{
    Q_OBJECT

public:
    explicit MyVisualEffectView(QWidget* parent = nullptr);
};
