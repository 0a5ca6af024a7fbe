#pragma once

#include "platform/PlatformServices.h"
#include "shell/CommandLine.h"

#include <QObject>
#include <QString>
#include <memory>

class AppDelegate;
class SettingsWindowController;
class CapturePipeline;
class CompanionEndpoint;
class DBManager;
class DataManager;
class MainWindowController;
class OrphanSweeper;
class PBContentComparer;
class PBWatcher;
class PasteToApplication;
class PlatformLinux;
class Retention;
class RowArtworkCache;
class ReviewNull;
class SettingsManager;
class TimeUpdater;
class ViewController;
class WindowsOnDemand;
class QWidget;
class BooleanSetting;

// The composition root: builds every service of the running program once, in one order that can
// be read top to bottom in the constructor, hands each its collaborators, and on quit takes them
// down again in the reverse order. Nothing else in the program creates a service, and a service
// is reached only through what it was handed. Main thread; needs the QApplication.
class Application : public QObject
{
    Q_OBJECT

public:
    // Where the application runs.
    struct Environment
    {
        // The platform implementations, all set; they must outlive the application.
        PlatformServices platform;
        // The history, the payload folder and the settings file.
        QString dataFolder;
        // The user defaults (the global shortcuts, the rating prompt).
        QString userDefaultsPath;
    };

    // The application of the running desktop session: the Linux platform and the user's XDG
    // folders.
    static std::unique_ptr<Application> forSession();

    // `platform`, when given, is what the environment's platform services belong to; the
    // application keeps it for its own lifetime.
    explicit Application(const Environment& environment,
                         std::unique_ptr<PlatformLinux> platform = nullptr);
    ~Application() override;

    // Carries out what a start of `vantrel` asked for.
    void handleRequest(ShellRequest request);

private:
    void buildServices();
    void buildShell();
    // The main window, made on first use with its content wired to the shell, and kept.
    MainWindowController& mainWindow();
    void installMiniWindowFactory(ViewController& content);
    void installWelcomeFactory(ViewController& content);
    // The preferences window, made on first use and kept.
    QWidget* settingsWindow();
    void connectUnavailableNotice();
    void tellOfKeptHistory();
    // The one quit sequence, on QCoreApplication::aboutToQuit.
    void applicationWillTerminate();

    std::unique_ptr<PlatformLinux> m_platform;
    Environment m_environment;
    std::unique_ptr<ReviewNull> m_review;
    std::unique_ptr<SettingsManager> m_settings;
    std::unique_ptr<DataManager> m_dataManager;
    std::unique_ptr<DBManager> m_dbManager;
    std::unique_ptr<Retention> m_retention;
    std::unique_ptr<OrphanSweeper> m_orphanSweeper;
    std::unique_ptr<PBWatcher> m_watcher;
    std::unique_ptr<PBContentComparer> m_comparer;
    std::unique_ptr<CapturePipeline> m_pipeline;
    std::unique_ptr<CompanionEndpoint> m_companion;
    std::unique_ptr<TimeUpdater> m_timeUpdater;
    std::unique_ptr<BooleanSetting> m_webPreview;
    std::unique_ptr<BooleanSetting> m_compactRows;
    std::unique_ptr<RowArtworkCache> m_artwork;
    std::unique_ptr<PasteToApplication> m_paste;
    std::unique_ptr<MainWindowController> m_mainWindow;
    std::unique_ptr<WindowsOnDemand> m_windows;
    std::unique_ptr<AppDelegate> m_delegate;
    // Records into the delegate's shortcut bindings, so it goes first.
    std::unique_ptr<SettingsWindowController> m_settingsWindow;
};
