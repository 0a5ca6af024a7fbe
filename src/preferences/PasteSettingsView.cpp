#include "preferences/PasteSettingsView.h"

#include "platform/PasteKeystroke.h"
#include "storage/SettingsManager.h"
#include "ui_PasteSettingsView.h"

PasteSettingsView::PasteSettingsView(SettingsManager& settings, const PasteKeystroke& keystroke,
                                     QWidget* parent)
    : QWidget(parent), m_settings(settings), m_ui(std::make_unique<Ui::PasteSettingsView>())
{
    m_ui->setupUi(this);
    showSettings(keystroke);
    connect(m_ui->pasteFromMiniWindowButton, &QAbstractButton::toggled, this, [this](bool on) {
        m_settings.model().setPasteFromMiniWindow(on);
        m_settings.save();
    });
    connect(m_ui->pasteFromMainWindowButton, &QAbstractButton::toggled, this, [this](bool on) {
        m_settings.model().setPasteFromMainWindow(on);
        m_settings.save();
    });
    connect(m_ui->terminalApplicationsEdit, &QPlainTextEdit::textChanged, this,
            &PasteSettingsView::storeTerminals);
}

PasteSettingsView::~PasteSettingsView() = default;

QLabel* PasteSettingsView::titleLabel() const
{
    return m_ui->pasteLabel;
}

void PasteSettingsView::showSettings(const PasteKeystroke& keystroke)
{
    const SettingsModel& model = m_settings.model();
    m_ui->pasteFromMiniWindowButton->setChecked(model.pasteFromMiniWindow());
    m_ui->pasteFromMainWindowButton->setChecked(model.pasteFromMainWindow());
    m_ui->terminalApplicationsEdit->setPlainText(model.terminalApplications().join(u'\n'));
    const bool available = keystroke.available();
    m_ui->pasteFromMiniWindowButton->setEnabled(available);
    m_ui->pasteFromMainWindowButton->setEnabled(available);
    m_ui->terminalApplicationsEdit->setEnabled(available);
    m_ui->pasteUnavailableLabel->setText(keystroke.unavailableReason());
    m_ui->pasteUnavailableLabel->setVisible(!available);
}

// One id or class a line; blank lines and the spaces around a name do not count.
void PasteSettingsView::storeTerminals()
{
    QStringList terminals;
    const QStringList lines = m_ui->terminalApplicationsEdit->toPlainText().split(u'\n');
    for (const QString& line : lines) {
        if (!line.trimmed().isEmpty())
            terminals.append(line.trimmed());
    }
    if (terminals == m_settings.model().terminalApplications())
        return;
    m_settings.model().setTerminalApplications(terminals);
    m_settings.save();
}
