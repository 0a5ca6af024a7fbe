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

MySearchField::MySearchField(QWidget* parent)
    : QLineEdit(parent), m_searchIcon(new QAction(this)), m_clearButton(new QAction(this))
{
    registerControlsIcons();
    setPlaceholderText(tr("Search"));
    setAccessibleName(tr("Search"));
    // The buttons in the field are named by their actions, for screen readers.
    m_searchIcon->setText(tr("Search"));
    addAction(m_searchIcon, QLineEdit::LeadingPosition);
    // A clear button of its own: the style's would read its picture through every image format
    // plug-in when the window is made.
    m_clearButton->setText(tr("Clear search"));
    m_clearButton->setVisible(false);
    addAction(m_clearButton, QLineEdit::TrailingPosition);
    connect(this, &QLineEdit::textChanged, m_clearButton,
            [this](const QString& text) { m_clearButton->setVisible(!text.isEmpty()); });
    connect(m_clearButton, &QAction::triggered, this, [this] {
        clear();
        emit textEdited(QString());
    });
    updateIcons();
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
        updateIcons();
}

void MySearchField::updateIcons()
{
    m_searchIcon->setIcon(
        TemplateImage::icon(QIcon(QStringLiteral(":/icons/search.svg")), palette()));
    m_clearButton->setIcon(
        TemplateImage::icon(QIcon(QStringLiteral(":/icons/clear_text.svg")), palette()));
}
