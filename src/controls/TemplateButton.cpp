#include "controls/TemplateButton.h"

#include "controls/TemplateImage.h"

#include <QEvent>
#include <QStyleOptionToolButton>

TemplateButton::TemplateButton(QWidget* parent) : QToolButton(parent)
{
    setAutoRaise(true);
    setFocusPolicy(Qt::TabFocus);
}

void TemplateButton::setImage(const QIcon& image)
{
    m_image = image;
    updateIcon();
}

void TemplateButton::changeEvent(QEvent* event)
{
    QToolButton::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        updateIcon();
}

void TemplateButton::initStyleOption(QStyleOptionToolButton* option) const
{
    QToolButton::initStyleOption(option);
    option->state.setFlag(QStyle::State_MouseOver, false);
}

void TemplateButton::updateIcon()
{
    setIcon(m_image.isNull() ? m_image : TemplateImage::icon(m_image, palette()));
}
