#include "preferences/SettingsViewController.h"

#include "platform/LoginItems.h"
#include "preferences/IgnoredApplicationsView.h"
#include "preferences/PasteSettingsView.h"
#include "preferences/ShortcutRecorder.h"
#include "shell/ShortcutBindings.h"
#include "storage/BooleanSetting.h"
#include "storage/SettingsManager.h"
#include "storage/SettingsModel.h"
#include "storage/UserDefaults.h"
#include "ui_settings.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QScrollBar>

namespace {
// Each pop-up and each record-keeping choice stands for one of four stored numbers, 0 to 3.
constexpr qint64 choiceCount = 4;
constexpr qreal smallFontScale = 0.85;

bool isChoice(qint64 value)
{
    return value >= 0 && value < choiceCount;
}
} // namespace

SettingsViewController::SettingsViewController(const Services& services, QWidget* parent)
    : QWidget(parent), m_services(services), m_ui(std::make_unique<Ui::SettingsViewController>())
{
    m_ui->setupUi(this);
    m_recorders = {Recorder{UserDefaults::mainWindowShortcutKey, m_ui->mainWindowShortcutView,
                            m_ui->mainWindowShortcutStatus},
                   Recorder{UserDefaults::miniWindowShortcutKey, m_ui->miniWindowShortcutView,
                            m_ui->miniWindowShortcutStatus}};
    // The text field inside each recorder is what a screen reader reaches: it takes its name.
    for (const Recorder& recorder : m_recorders) {
        if (auto* field = recorder.view->findChild<QLineEdit*>())
            field->setAccessibleName(recorder.view->accessibleName());
    }
    viewDidLoad();
}

SettingsViewController::~SettingsViewController() = default;

void SettingsViewController::viewDidLoad()
{
    numberChoices();
    showVersion();
    showSettings();
    connectSettings();
    for (const Recorder& recorder : m_recorders)
        connectRecorder(recorder);
    connect(&m_services.shortcuts, &ShortcutBindings::shortcutChanged, this,
            &SettingsViewController::showShortcut);
    showAvailability(m_services.shortcuts.isAvailable());
    connect(&m_services.shortcuts, &ShortcutBindings::availabilityChanged, this,
            &SettingsViewController::showAvailability);
    m_ui->autoLaunchButton->setChecked(m_services.loginItems.isEnabled());
    connect(m_ui->autoLaunchButton, &QAbstractButton::clicked, this,
            &SettingsViewController::onAutoLaunchButton);
    connectUserDefaults();
    addPasteAndIgnoredApplications();
    // The lists' and fields' own scroll bars, which a screen reader would announce unnamed.
    for (QScrollBar* bar : findChildren<QScrollBar*>())
        bar->setAccessibleName(tr("Scroll"));
}

// Rows of the form below the others, each with its title in the column of titles.
void SettingsViewController::addPasteAndIgnoredApplications()
{
    auto* paste = new PasteSettingsView(m_services.settings, m_services.pasteKeystroke, this);
    paste->setObjectName(QStringLiteral("pasteSettingsView"));
    m_ui->formLayout->addRow(paste->titleLabel(), paste);
    auto* ignored = new IgnoredApplicationsView(m_services.settings, m_services.pasteboard,
                                                m_services.workspace, this);
    ignored->setObjectName(QStringLiteral("ignoredApplicationsView"));
    m_ui->formLayout->addRow(ignored->titleLabel(), ignored);
    setTabOrder(m_ui->loadWebPagesButton, paste);
}

// A button's id in its group is the number it stands for.
void SettingsViewController::numberChoices()
{
    int id = 0;
    for (QAbstractButton* button : {m_ui->modeButton1, m_ui->modeButton2})
        m_ui->modeGroup->setId(button, id++);
    id = 0;
    for (QAbstractButton* button : {m_ui->deleteModeButton1, m_ui->deleteModeButton2,
                                    m_ui->deleteModeButton3, m_ui->deleteModeButton4})
        m_ui->deleteModeGroup->setId(button, id++);
}

void SettingsViewController::showVersion()
{
    m_ui->versionLabel->setText(tr("v%1").arg(QCoreApplication::applicationVersion()));
    m_ui->versionLabel->setForegroundRole(QPalette::PlaceholderText);
    QFont small = m_ui->versionLabel->font();
    small.setPointSizeF(small.pointSizeF() * smallFontScale);
    m_ui->versionLabel->setFont(small);
}

void SettingsViewController::showSettings()
{
    const SettingsModel& model = m_services.settings.model();
    m_ui->modeGroup->button(model.copyMode() == SettingsModel::CopyMode::Copy ? 0 : 1)
        ->setChecked(true);
    // A record keeping the panel does not offer (a hand edit) turns no button on.
    if (isChoice(qint64(model.saveMode())))
        m_ui->deleteModeGroup->button(int(model.saveMode()))->setChecked(true);
    m_ui->timeButton->setCurrentIndex(isChoice(model.saveTime()) ? int(model.saveTime()) : -1);
    m_ui->countButton->setCurrentIndex(isChoice(model.saveCount()) ? int(model.saveCount()) : -1);
}

void SettingsViewController::connectSettings()
{
    connectChoice(m_ui->modeGroup, [](SettingsModel& model, qint64 mode) {
        model.setCopyMode(SettingsModel::CopyMode(mode));
    });
    connectChoice(m_ui->deleteModeGroup, [](SettingsModel& model, qint64 mode) {
        model.setSaveMode(SettingsModel::SaveMode(mode));
    });
    connectPopUp(m_ui->timeButton, &SettingsModel::setSaveTime);
    connectPopUp(m_ui->countButton, &SettingsModel::setSaveCount);
}

void SettingsViewController::connectChoice(QButtonGroup* group, const Setter& setter)
{
    connect(group, &QButtonGroup::idToggled, this, [this, setter](int id, bool checked) {
        if (checked)
            store(setter, id);
    });
}

void SettingsViewController::connectPopUp(QComboBox* popUp, const Setter& setter)
{
    connect(popUp, &QComboBox::currentIndexChanged, this, [this, setter](int index) {
        if (isChoice(index))
            store(setter, index);
    });
}

// Written at once rather than at quit: a choice must survive a crash or a power cut. The write
// replaces the file atomically, so an interrupted one leaves the previous settings whole.
void SettingsViewController::store(const Setter& setter, qint64 value)
{
    setter(m_services.settings.model(), value);
    m_services.settings.save();
}

void SettingsViewController::connectRecorder(const Recorder& recorder)
{
    recorder.view->setShortcut(m_services.shortcuts.shortcut(recorder.key));
    showRefusal(recorder);
    connect(recorder.view, &ShortcutRecorder::shortcutRecorded, this,
            [this, key = recorder.key](const QKeySequence& shortcut) {
                m_services.shortcuts.setShortcut(key, shortcut);
            });
}

// Follows the stored shortcuts wherever they were changed: here, or in the file by hand.
void SettingsViewController::showShortcut(const QString& key, const QKeySequence& sequence)
{
    for (const Recorder& recorder : m_recorders) {
        if (recorder.key != key)
            continue;
        recorder.view->setShortcut(sequence);
        showRefusal(recorder);
    }
}

// A refused shortcut stays stored: the other application may let it go, and the user sees
// here why it does nothing meanwhile.
void SettingsViewController::showRefusal(const Recorder& recorder)
{
    QString text;
    switch (m_services.shortcuts.refusal(recorder.key)) {
    case GlobalShortcuts::Refusal::None:
        break;
    case GlobalShortcuts::Refusal::HeldByAnotherClient:
        text = tr("Already held by another application");
        break;
    case GlobalShortcuts::Refusal::UsedByAnotherId:
        text = tr("Already the shortcut of the other window");
        break;
    case GlobalShortcuts::Refusal::Unusable:
        text = tr("Not usable as a global shortcut");
        break;
    case GlobalShortcuts::Refusal::Unavailable:
        text = tr("No global shortcuts in this session");
        break;
    case GlobalShortcuts::Refusal::Declined:
        text = tr("Not accepted by the desktop");
        break;
    }
    recorder.status->setText(text);
    recorder.status->setVisible(!text.isEmpty() && m_services.shortcuts.isAvailable());
}

void SettingsViewController::showAvailability(bool available)
{
    m_ui->shortcutMainLabel->setVisible(available);
    m_ui->shortcutMiniLabel->setVisible(available);
    for (const Recorder& recorder : m_recorders) {
        recorder.view->setVisible(available);
        showRefusal(recorder);
    }
    m_ui->shortcutCommandsView->setVisible(!available);
}

// The box shows what is found afterwards, not what was asked for: an autostart entry of
// another program is left alone, and launch at log-in then stays off.
void SettingsViewController::onAutoLaunchButton()
{
    LoginItems& loginItems = m_services.loginItems;
    loginItems.setEnabled(!loginItems.isEnabled());
    m_ui->autoLaunchButton->setChecked(loginItems.isEnabled());
    showAutoLaunchRefusal();
}

// Under the box: why the change the user asked for did not happen.
void SettingsViewController::showAutoLaunchRefusal()
{
    const LoginItems& loginItems = m_services.loginItems;
    const QString entry = loginItems.entryLocation();
    QString text;
    switch (loginItems.lastRefusal()) {
    case LoginItems::Refusal::None:
        break;
    case LoginItems::Refusal::ForeignEntry:
        text = tr("%1 already starts another program at log-in; it is left as it is").arg(entry);
        break;
    case LoginItems::Refusal::CannotWrite:
        text = tr("The autostart entry %1 cannot be written").arg(entry);
        break;
    case LoginItems::Refusal::CannotRemove:
        text = tr("The autostart entry %1 cannot be removed").arg(entry);
        break;
    }
    m_ui->autoLaunchStatus->setText(text);
    m_ui->autoLaunchStatus->setVisible(!text.isEmpty());
}

// Stored in the user defaults at once; the boxes follow a change made in the file as well.
void SettingsViewController::connectUserDefaults()
{
    BooleanSetting& webPreview = m_services.webPreview;
    m_ui->loadWebPagesButton->setChecked(webPreview.value());
    connect(m_ui->loadWebPagesButton, &QAbstractButton::toggled, &webPreview,
            &BooleanSetting::setValue);
    connect(&webPreview, &BooleanSetting::changed, m_ui->loadWebPagesButton,
            &QAbstractButton::setChecked);

    // The first entry is "Comfortable", the second "Compact".
    BooleanSetting& compactRows = m_services.compactRows;
    m_ui->rowHeightButton->setCurrentIndex(compactRows.value() ? 1 : 0);
    connect(m_ui->rowHeightButton, &QComboBox::currentIndexChanged, &compactRows,
            [&compactRows](int index) { compactRows.setValue(index == 1); });
    connect(&compactRows, &BooleanSetting::changed, m_ui->rowHeightButton,
            [this](bool compact) { m_ui->rowHeightButton->setCurrentIndex(compact ? 1 : 0); });
}
