#include "app/Application.h"

#include "browser/MainWindowController.h"
#include "browser/RowArtworkCache.h"
#include "browser/WelcomeView.h"
#include "mini/MiniViewController.h"
#include "mini/MiniWindowController.h"
#include "platform/Pasteboard.h"
#include "platform/PlatformLinux.h"
#include "platform/doubles/ReviewNull.h"
#include "preferences/SettingsWindowController.h"
#include "recording/CapturePipeline.h"
#include "recording/PBContentComparer.h"
#include "recording/PBWatcher.h"
#include "shell/AppDelegate.h"
#include "shell/CompanionEndpoint.h"
#include "shell/PasteToApplication.h"
#include "shell/TimeUpdater.h"
#include "shell/WindowsOnDemand.h"
#include "storage/BooleanSetting.h"
#include "storage/DBManager.h"
#include "storage/DataManager.h"
#include "storage/OrphanSweeper.h"
#include "storage/Retention.h"
#include "storage/SettingsManager.h"
#include "storage/UserDefaults.h"
#include "support/AppPaths.h"
#include "support/Clock.h"

#include <QApplication>
#include <QSystemTrayIcon>

namespace {
// Every window shows the application's icon: the installed one is preferred, the built-in one
// serves a build run in place. Looking it up in the icon theme takes long enough to be left
// until the first window is made.
void setWindowIcon()
{
    if (!QApplication::windowIcon().isNull())
        return;
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral(VANTREL_APP_ID),
                                                 QIcon(QStringLiteral(":/icons/vantrel.svg"))));
}
} // namespace

std::unique_ptr<Application> Application::forSession()
{
    auto platform = std::make_unique<PlatformLinux>();
    const Environment environment{platform->services(), AppPaths::dataFolder(),
                                  UserDefaults::defaultPath()};
    return std::make_unique<Application>(environment, std::move(platform));
}

Application::Application(const Environment& environment, std::unique_ptr<PlatformLinux> platform)
    : m_platform(std::move(platform)), m_environment(environment)
{
    buildServices();
    buildShell();
    connect(qApp, &QCoreApplication::aboutToQuit, this, &Application::applicationWillTerminate);
}

// The members go in the reverse order of their declaration, which is the order of building.
Application::~Application()
{
    m_environment.platform.pasteboard->setUnavailableHandler({});
    m_watcher->removeObserver(m_pipeline.get());
}

void Application::buildServices()
{
    const PlatformServices& platform = m_environment.platform;
    const QString& folder = m_environment.dataFolder;
    m_review = std::make_unique<ReviewNull>();
    m_settings = std::make_unique<SettingsManager>(folder);
    m_dataManager = std::make_unique<DataManager>(folder + QStringLiteral("/data"));
    m_dbManager =
        std::make_unique<DBManager>(folder, DBManager::Services{*m_dataManager, Clock::system()});
    // Loaded whether or not a window ever shows it: the companion client lists it too.
    m_dbManager->loadOnce({});
    m_retention = std::make_unique<Retention>(*m_dbManager, m_settings->model(), Clock::system());
    m_orphanSweeper =
        std::make_unique<OrphanSweeper>(m_dataManager->savePath(), *m_dbManager, Clock::system());
    m_orphanSweeper->start();
    platform.pasteboard->setIgnoredApplications(m_settings->model().ignoredApplications());
    m_watcher = std::make_unique<PBWatcher>(*platform.pasteboard, *platform.applicationState);
    m_comparer = std::make_unique<PBContentComparer>();
    m_pipeline = std::make_unique<CapturePipeline>(
        *platform.workspace, *m_comparer, m_settings->model(), *m_dataManager, *m_dbManager);
    m_watcher->addObserver(m_pipeline.get());
    m_companion = std::make_unique<CompanionEndpoint>(*platform.messageChannel, *m_dbManager,
                                                      *m_retention, *m_watcher);
    m_timeUpdater = std::make_unique<TimeUpdater>();
    m_webPreview = std::make_unique<BooleanSetting>(m_environment.userDefaultsPath,
                                                    UserDefaults::loadWebPagesKey);
    m_compactRows = std::make_unique<BooleanSetting>(m_environment.userDefaultsPath,
                                                     UserDefaults::compactRowsKey);
}

// The windows are made on first use (or at once where no tray shows the icon); the delegate
// starts watching, the clock tick, the tray and the shortcuts.
void Application::buildShell()
{
    const PlatformServices& platform = m_environment.platform;
    m_artwork = std::make_unique<RowArtworkCache>(
        RowArtworkCache::rowIconSize(qApp ? qApp->devicePixelRatio() : 1.0));
    m_paste = std::make_unique<PasteToApplication>(PasteToApplication::Services{
        *platform.workspace, *platform.pasteKeystroke, m_settings->model()});
    m_windows = std::make_unique<WindowsOnDemand>(
        [this]() -> WindowCommands& { return mainWindow().contentViewController(); });
    m_delegate = std::make_unique<AppDelegate>(AppDelegate::Services{
        *m_watcher, *m_timeUpdater, *m_retention, *m_review, *platform.globalShortcuts,
        m_environment.userDefaultsPath, [this] { return settingsWindow(); }});
    m_delegate->applicationDidFinishLaunching(*m_windows);
    connectUnavailableNotice();
    tellOfKeptHistory();
}

MainWindowController& Application::mainWindow()
{
    if (m_mainWindow)
        return *m_mainWindow;
    setWindowIcon();
    m_mainWindow = std::make_unique<MainWindowController>(
        ViewController::Services{*m_dbManager, *m_watcher, *m_timeUpdater, *m_artwork,
                                 Clock::system(), m_webPreview.get(), m_paste.get(),
                                 m_compactRows.get()},
        m_environment.userDefaultsPath);
    ViewController& content = m_mainWindow->contentViewController();
    connect(&content, &ViewController::viewDidAppear, m_delegate.get(),
            &AppDelegate::mainWindowDidAppear);
    installMiniWindowFactory(content);
    installWelcomeFactory(content);
    content.setApplicationMenu(m_delegate->windowMenuActions());
    return *m_mainWindow;
}

QWidget* Application::settingsWindow()
{
    if (!m_settingsWindow) {
        setWindowIcon();
        m_settingsWindow =
            std::make_unique<SettingsWindowController>(SettingsViewController::Services{
                *m_settings, *m_delegate->shortcutBindings(), *m_webPreview, *m_compactRows,
                *m_environment.platform.loginItems, *m_environment.platform.pasteboard,
                *m_environment.platform.workspace, *m_environment.platform.pasteKeystroke});
    }
    return m_settingsWindow.get();
}

// The mini window is made by the main window's content on first use, and kept there; its return
// button brings the main window back.
void Application::installMiniWindowFactory(ViewController& content)
{
    content.setMiniWindowFactory([this, &content]() -> std::unique_ptr<QWidget> {
        auto window = std::make_unique<MiniWindowController>(
            CategoryListViewController::Services{*m_dbManager, *m_watcher, *m_timeUpdater,
                                                 *m_artwork, m_webPreview.get(), m_paste.get(),
                                                 m_compactRows.get()},
            m_environment.userDefaultsPath);
        window->contentViewController().setResumeBlock([&content] { content.showMainWindow(); });
        return window;
    });
}

// The welcome is made once the delegate has bound the shortcuts it tells of.
void Application::installWelcomeFactory(ViewController& content)
{
    content.setWelcomeFactory([this] {
        return std::make_unique<WelcomeView>(*m_delegate->shortcutBindings(),
                                             *m_environment.platform.loginItems);
    });
}

// Where the session gives Vantrel no way to read the clipboard, the user is told once, and how to
// mend it.
void Application::connectUnavailableNotice()
{
    m_environment.platform.pasteboard->setUnavailableHandler([this](const QString& problem) {
        if (QSystemTrayIcon* tray = m_delegate->statusItem())
            tray->showMessage(QStringLiteral("Vantrel"), problem, QSystemTrayIcon::Warning);
    });
}

// A history that could not be read was kept aside at start and a new one made: the user is told
// once where the old one is, once the tray is up.
void Application::tellOfKeptHistory()
{
    const QString kept = m_dbManager->keptDamagedFile();
    if (kept.isEmpty())
        return;
    QMetaObject::invokeMethod(
        m_delegate.get(),
        [this, kept] {
            if (QSystemTrayIcon* tray = m_delegate->statusItem())
                tray->showMessage(QStringLiteral("Vantrel"),
                                  tr("Vantrel could not read its history and started a new one. "
                                     "The old file is kept as %1.")
                                      .arg(kept),
                                  QSystemTrayIcon::Warning);
        },
        Qt::QueuedConnection);
}

void Application::handleRequest(ShellRequest request)
{
    m_delegate->handleRequest(request);
}

// The services stay built until the application object goes; quitting only ends their work, the
// shell's first and the settings' last. A copy still being stored is recorded before the last
// retention pass, which may be told to clear the history.
void Application::applicationWillTerminate()
{
    m_pipeline->finishPendingCaptures();
    m_delegate->applicationWillTerminate();
    m_companion->passTerminalMessage();
    m_settings->save();
}
