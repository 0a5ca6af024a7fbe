#pragma once

#include <QWidget>
#include <memory>

class Pasteboard;
class QLabel;
class QMenu;
class SettingsManager;
class Workspace;
namespace Ui {
class IgnoredApplicationsView;
}

// The applications whose copies are never recorded: shown by name and icon, added from the
// applications of the running windows or from the installed ones, removed with Remove. Each
// change is written to the settings file and handed to the clipboard at once. Where the session
// cannot tell which application copied, a line says that the list has no effect there. Main
// thread.
class IgnoredApplicationsView : public QWidget
{
    Q_OBJECT

public:
    // All must outlive the view.
    IgnoredApplicationsView(SettingsManager& settings, Pasteboard& pasteboard,
                            const Workspace& workspace, QWidget* parent = nullptr);
    ~IgnoredApplicationsView() override;

    // The view's title, for the preferences' column of titles.
    QLabel* titleLabel() const;

    // The names and icons of applications: the desktop entry's, else the id itself.
    static QString displayName(const QString& applicationId);

private:
    void showList();
    void fillRunningMenu();
    void fillInstalledMenu();
    void addApplication(const QString& applicationId);
    void removeSelected();
    void store(const QStringList& applicationIds);

    SettingsManager& m_settings;
    Pasteboard& m_pasteboard;
    const Workspace& m_workspace;
    std::unique_ptr<Ui::IgnoredApplicationsView> m_ui;
    QMenu* m_runningMenu;
    QMenu* m_installedMenu;
};
