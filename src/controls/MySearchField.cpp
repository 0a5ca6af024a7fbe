#include "controls/MySearchField.h"

#include "controls/TemplateImage.h"

#include <QAction>
#include <QEvent>
#include <QIcon>

// The images live in a static library, so they are registered by hand.
static void registerControlsIcons()
{
    Q_INIT_RESOURCE(controls_icons);
}

MySearchField::MySearchField(QWidget* parent) : QLineEdit(parent), m_searchIcon(new QAction(this))
{
    registerControlsIcons();
    setPlaceholderText(tr("Search"));
    setAccessibleName(tr("Search"));
    setClearButtonEnabled(true);
    // The buttons in the field are named by their actions, for screen readers.
    m_searchIcon->setText(tr("Search"));
    if (auto* clear = findChild<QAction*>(QStringLiteral("_q_qlineeditclearaction")))
        clear->setText(tr("Clear search"));
    addAction(m_searchIcon, QLineEdit::LeadingPosition);
    updateSearchIcon();
}

void MySearchField::setBecomeFirstResponderBlock(std::function<void()> block)
{
    m_becomeFirstResponderBlock = std::move(block);
}

void MySearchField::mousePressEvent(QMouseEvent* event)
{
    QLineEdit::mousePressEvent(event);
    if (m_becomeFirstResponderBlock)
        m_becomeFirstResponderBlock();
}

void MySearchField::changeEvent(QEvent* event)
{
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        updateSearchIcon();
}

void MySearchField::updateSearchIcon()
{
    m_searchIcon->setIcon(
        TemplateImage::icon(QIcon(QStringLiteral(":/icons/search.svg")), palette()));
}
