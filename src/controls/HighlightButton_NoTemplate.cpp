#include "controls/HighlightButton_NoTemplate.h"

HighlightButton_NoTemplate::HighlightButton_NoTemplate(QWidget* parent) : HighlightButton(parent)
{
    setUseTemplateImage(false);
}
