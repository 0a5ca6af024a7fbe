#pragma once

#include <QWidget>

// A background panel in the palette's window colour; a press on it drags its window.
class MyVisualEffectView : public QWidget
{
    Q_OBJECT

public:
    explicit MyVisualEffectView(QWidget* parent = nullptr);

protected:
    void mousePressEvent(QMouseEvent* event) override;
};
