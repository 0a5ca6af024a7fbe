#pragma once

#include "controls/HighlightButton.h"

// A highlight button whose image shows its own colours.
class HighlightButton_NoTemplate : public HighlightButton
{
    Q_OBJECT

public:
    explicit HighlightButton_NoTemplate(QWidget* parent = nullptr);
};
