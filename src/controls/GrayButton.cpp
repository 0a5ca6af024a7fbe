#include "controls/GrayButton.h"

#include <QApplication>
#include <QStyleOptionButton>

GrayButton::GrayButton(QWidget* parent) : QPushButton(parent) {}

void GrayButton::setTitle(const QString& title)
{
    QFont font = QApplication::font();
    font.setPixelSize(13);
    setFont(font);
    setText(title);
}

// The colour is taken at each paint, so the title follows a change of theme.
void GrayButton::initStyleOption(QStyleOptionButton* option) const
{
    QPushButton::initStyleOption(option);
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        option->palette.setColor(group, QPalette::ButtonText,
                                 option->palette.color(group, QPalette::PlaceholderText));
}
