#pragma once

#include <QWidget>
#include <memory>

class PasteKeystroke;
class QLabel;
class SettingsManager;
namespace Ui {
class PasteSettingsView;
}

// The preferences of the paste after choosing: whether choosing an item in the mini window and in
// the main window also pastes it, and which applications are terminals (pasted into with
// Ctrl+Shift+V). Where the session lets no application type into another, the choices are off
// and a line says why. Each change is written to the settings file at once. Main thread.
class PasteSettingsView : public QWidget
{
    Q_OBJECT

public:
    // Both must outlive the view.
    PasteSettingsView(SettingsManager& settings, const PasteKeystroke& keystroke,
                      QWidget* parent = nullptr);
    ~PasteSettingsView() override;

    // The view's title, for the preferences' column of titles.
    QLabel* titleLabel() const;

private:
    void showSettings(const PasteKeystroke& keystroke);
    void storeTerminals();

    SettingsManager& m_settings;
    std::unique_ptr<Ui::PasteSettingsView> m_ui;
};
