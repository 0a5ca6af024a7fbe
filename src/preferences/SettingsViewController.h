#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

class QButtonGroup;
class QComboBox;
class QKeySequence;
class LoginItems;
class Pasteboard;
class PasteKeystroke;
class Workspace;
class QLabel;
class SettingsManager;
class SettingsModel;
class ShortcutBindings;
class ShortcutRecorder;
class BooleanSetting;

namespace Ui {
class SettingsViewController;
}

// The preferences panel: copy mode, record keeping with its duration and number, the two global
// shortcuts, launch at log-in, whether previews load web pages, the paste after choosing, the
// applications whose copies are never recorded, and the version. Each choice takes
// effect as it is made and there is nothing to confirm: the settings file is written at once
// (atomically, so that a crash or a power cut keeps the choice), a recorded shortcut goes to the
// user defaults through the bindings, which register it again straight away. Main thread only.
class SettingsViewController : public QWidget
{
    Q_OBJECT

public:
    // What the panel works with; all must outlive it.
    struct Services
    {
        SettingsManager& settings;
        ShortcutBindings& shortcuts;
        BooleanSetting& webPreview;
        // Compact rows in the history lists.
        BooleanSetting& compactRows;
        // Start at log-in.
        LoginItems& loginItems;
        // Told the applications whose copies are never read.
        Pasteboard& pasteboard;
        // The applications of the running windows, for the ignore list.
        const Workspace& workspace;
        // Whether choosing an item can paste it in this session.
        const PasteKeystroke& pasteKeystroke;
    };

    explicit SettingsViewController(const Services& services, QWidget* parent = nullptr);
    ~SettingsViewController() override;

private:
    // A shortcut recorder, the user-defaults key it records and the line that tells what became
    // of its shortcut.
    struct Recorder
    {
        QString key;
        ShortcutRecorder* view = nullptr;
        QLabel* status = nullptr;
    };

    void viewDidLoad();
    void numberChoices();
    void showVersion();
    void showSettings();
    void connectSettings();
    // Sets one of the model's values from the number a control stands for.
    using Setter = std::function<void(SettingsModel&, qint64)>;
    void store(const Setter& setter, qint64 value);
    void connectChoice(QButtonGroup* group, const Setter& setter);
    void connectPopUp(QComboBox* popUp, const Setter& setter);
    void connectRecorder(const Recorder& recorder);
    void showShortcut(const QString& key, const QKeySequence& sequence);
    void showRefusal(const Recorder& recorder);
    // The recorders where the session has global shortcuts, else the commands to bind.
    void showAvailability(bool available);
    void onAutoLaunchButton();
    void showAutoLaunchRefusal();
    void connectUserDefaults();
    void addPasteAndIgnoredApplications();

    Services m_services;
    std::unique_ptr<Ui::SettingsViewController> m_ui;
    std::array<Recorder, 2> m_recorders;
};
