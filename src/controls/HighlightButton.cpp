#include "controls/HighlightButton.h"

#include <QEvent>
#include <QStyleOptionToolButton>

HighlightButton::HighlightButton(QWidget* parent) : TemplateButton(parent) {}

void HighlightButton::setHighlighted(bool highlighted)
{
    if (highlighted == m_highlighted)
        return;
    m_highlighted = highlighted;
    update();
}

void HighlightButton::enterEvent(QEnterEvent* event)
{
    TemplateButton::enterEvent(event);
    setHighlighted(isActiveWindow());
}

void HighlightButton::leaveEvent(QEvent* event)
{
    TemplateButton::leaveEvent(event);
    setHighlighted(false);
}

// A window that stops being the active one while the pointer rests on the button would
// otherwise keep it lit until the pointer moves again.
void HighlightButton::changeEvent(QEvent* event)
{
    TemplateButton::changeEvent(event);
    if (event->type() == QEvent::ActivationChange)
        setHighlighted(isActiveWindow() && underMouse());
}

void HighlightButton::initStyleOption(QStyleOptionToolButton* option) const
{
    TemplateButton::initStyleOption(option);
    option->state.setFlag(QStyle::State_MouseOver, m_highlighted);
}
