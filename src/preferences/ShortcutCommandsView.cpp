#include "preferences/ShortcutCommandsView.h"

#include "shell/ShortcutCommands.h"
#include "ui_ShortcutCommandsView.h"

#include <QClipboard>
#include <QGuiApplication>

ShortcutCommandsView::ShortcutCommandsView(QWidget* parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::ShortcutCommandsView>())
{
    m_ui->setupUi(this);
    m_ui->mainCommandField->setText(ShortcutCommands::showMainCommand());
    m_ui->miniCommandField->setText(ShortcutCommands::showMiniCommand());
    m_ui->whereLabel->setText(ShortcutCommands::whereToBind());
    m_ui->whereLabel->setForegroundRole(QPalette::PlaceholderText);
    connect(m_ui->mainCopyButton, &QPushButton::clicked, this,
            [this] { copyCommand(m_ui->mainCommandField); });
    connect(m_ui->miniCopyButton, &QPushButton::clicked, this,
            [this] { copyCommand(m_ui->miniCommandField); });
}

ShortcutCommandsView::~ShortcutCommandsView() = default;

// Copied while Vantrel's own window is active, so the copy is not recorded.
void ShortcutCommandsView::copyCommand(const QLineEdit* field)
{
    QGuiApplication::clipboard()->setText(field->text());
}
