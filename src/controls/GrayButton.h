#pragma once

#include <QPushButton>

// A push button whose title is drawn in the palette's secondary text colour, in the system font
// at 13 pixels, whatever the layout gave it.
class GrayButton : public QPushButton
{
    Q_OBJECT

public:
    explicit GrayButton(QWidget* parent = nullptr);

    void setTitle(const QString& title);

protected:
    void initStyleOption(QStyleOptionButton* option) const override;
};
