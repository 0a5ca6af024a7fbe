#pragma once

#include "controls/TemplateButton.h"

// A template button that lights up while the pointer is over it, in the active window only.
class HighlightButton : public TemplateButton
{
    Q_OBJECT

public:
    explicit HighlightButton(QWidget* parent = nullptr);

    void setHighlighted(bool highlighted);

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void initStyleOption(QStyleOptionToolButton* option) const override;

private:
    bool m_highlighted = false;
};
