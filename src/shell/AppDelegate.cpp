#include "shell/AppDelegate.h"

#include "platform/UnixSignals.h"
#include "recording/PBWatcher.h"
#include "shell/ReviewPrompt.h"
#include "shell/ShortcutBindings.h"
#include "shell/StatusIcon.h"
#include "shell/TimeUpdater.h"
#include "shell/Utils.h"
#include "shell/WindowCommands.h"
#include "storage/Retention.h"
#include "storage/UserDefaults.h"
#include "support/Logging.h"

#include <QApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QMenu>
#include <QSessionManager>
#include <QUrl>
#include <algorithm>
#include <csignal>

// The images live in a static library, so they are registered by hand.
static void registerShellIcons()
{
    Q_INIT_RESOURCE(shell_icons);
}

namespace {
// The named image drawn once at the given size in device-independent pixels; a menu shows it at
// that size, not larger.
QIcon resizedImage(const QString& name, int pixels)
{
    const QIcon image(QStringLiteral(":/icons/%1.svg").arg(name));
    return QIcon(image.pixmap(QSize(pixels, pixels)));
}

bool isOrdinaryWindow(const QWidget* window)
{
    // Menus and tooltips are no windows of the user's; nor is the tray icon's own embedded
    // window, which bypasses the window manager.
    const Qt::WindowType type = window->windowType();
    return type != Qt::Popup && type != Qt::ToolTip &&
           !window->windowFlags().testFlag(Qt::BypassWindowManagerHint);
}
} // namespace

AppDelegate::AppDelegate(const Services& services, QObject* parent)
    : QObject(parent), m_services(services),
      m_userDefaults(std::make_unique<UserDefaults>(services.userDefaultsPath)),
      m_reviewPrompt(std::make_unique<ReviewPrompt>(services.review, *m_userDefaults,
                                                    QCoreApplication::applicationVersion())),
      m_unixSignals(
          std::make_unique<UnixSignals>(std::initializer_list<int>{SIGINT, SIGTERM, SIGHUP})),
      m_applicationState(QGuiApplication::applicationState())
{
    registerShellIcons();
    connect(m_unixSignals.get(), &UnixSignals::received, this, [](int signalNumber) {
        qCInfo(lcShell, "signal %d: quitting", signalNumber);
        QCoreApplication::quit();
    });
    connect(qApp, &QGuiApplication::commitDataRequest, this, [](QSessionManager&) {
        qCInfo(lcShell, "the desktop session ends: quitting");
        QCoreApplication::quit();
    });
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            &AppDelegate::applicationStateChanged);
    makeSharedItems();
    connect(&m_services.watcher, &PBWatcher::watchingChanged, this,
            [this] { updateRecordingItemUI(m_recordingItem); });
}

void AppDelegate::makeSharedItems()
{
    m_recordingItem = makeItem(tr("Recording..."), &AppDelegate::onToggleRecording);
    updateRecordingItemUI(m_recordingItem);
    m_preferencesItem = makeItem(tr("Preferences..."), &AppDelegate::onPreferencesItem);
    m_exitItem = makeItem(tr("Quit"), &AppDelegate::onExitItem);
}

QAction* AppDelegate::makeItem(const QString& title, void (AppDelegate::*action)())
{
    auto* item = new QAction(title, this);
    connect(item, &QAction::triggered, this, action);
    return item;
}

QList<QAction*> AppDelegate::windowMenuActions() const
{
    return {m_recordingItem, m_preferencesItem, m_exitItem};
}

AppDelegate::~AppDelegate() = default;

void AppDelegate::applicationDidFinishLaunching(WindowCommands& windows)
{
    m_services.watcher.startWatch();
    m_services.timeUpdater.start();
    m_windows = &windows;
    configStatusItem();
    bindShortcuts();
    greet();
}

void AppDelegate::greet()
{
    if (!m_userDefaults->value(UserDefaults::welcomeShownKey).toBool()) {
        m_windows->showWelcome();
        m_userDefaults->setValue(UserDefaults::welcomeShownKey, true);
    }
    if (trayAvailable())
        return;
    qCInfo(lcShell, "no system tray: start vantrel again to bring up its window");
    if (!m_userDefaults->value(UserDefaults::noTrayNoticeShownKey).toBool()) {
        m_windows->showNoTrayNotice();
        m_userDefaults->setValue(UserDefaults::noTrayNoticeShownKey, true);
    }
    m_windows->showMainWindow();
}

bool AppDelegate::trayAvailable() const
{
    return m_services.trayAvailable ? m_services.trayAvailable()
                                    : QSystemTrayIcon::isSystemTrayAvailable();
}

void AppDelegate::bindShortcuts()
{
    m_shortcutBindings =
        std::make_unique<ShortcutBindings>(m_services.globalShortcuts, *m_userDefaults);
    m_shortcutBindings->bind(UserDefaults::mainWindowShortcutKey, tr("Open Vantrel"),
                             [this] { onOpenMainWindowItem(); });
    m_shortcutBindings->bind(UserDefaults::miniWindowShortcutKey, tr("Open Vantrel Mini"),
                             [this] { onOpenMiniWindowItem(); });
}

void AppDelegate::handleRequest(ShellRequest request)
{
    qCInfo(lcShell) << "request:" << CommandLine::nameOf(request);
    switch (request) {
    case ShellRequest::Reopen:
        applicationShouldHandleReopen(hasVisibleWindows());
        break;
    case ShellRequest::ShowMain:
        onOpenMainWindowItem();
        break;
    case ShellRequest::ShowMini:
        onOpenMiniWindowItem();
        break;
    case ShellRequest::Preferences:
        onPreferencesItem();
        break;
    case ShellRequest::ToggleRecording:
        onToggleRecording();
        break;
    case ShellRequest::Quit:
        onExitItem();
        break;
    }
}

bool AppDelegate::hasVisibleWindows()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::any_of(windows.begin(), windows.end(), [](const QWidget* window) {
        return window->isVisible() && isOrdinaryWindow(window);
    });
}

bool AppDelegate::applicationShouldHandleReopen(bool hasVisibleWindows)
{
    if (hasVisibleWindows) {
        // A later start of `vantrel` comes from another process (a launcher, a terminal, a
        // desktop shortcut): the window manager does not raise anything for it, so it is done
        // here.
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->isVisible() && isOrdinaryWindow(window))
                Utils::bringToFront(window);
        }
        return false;
    }
    if (m_windows)
        m_windows->handleReopenWindow();
    return true;
}

void AppDelegate::applicationStateChanged(Qt::ApplicationState state)
{
    const bool resigned =
        m_applicationState == Qt::ApplicationActive && state != Qt::ApplicationActive;
    m_applicationState = state;
    if (resigned)
        applicationWillResignActive();
}

void AppDelegate::applicationWillResignActive()
{
    m_services.retention.syncClearContents(false);
}

void AppDelegate::mainWindowDidAppear()
{
    m_reviewPrompt->mainWindowAppeared();
}

void AppDelegate::applicationWillTerminate()
{
    qCInfo(lcShell, "shutting down");
    m_services.timeUpdater.stop();
    m_services.retention.syncClearContents(true);
}

void AppDelegate::configStatusItem()
{
    m_statusBarMenu = std::make_unique<QMenu>();
    m_statusBarMenu->setObjectName(QStringLiteral("statusBarMenu"));
    connect(m_statusBarMenu.get(), &QMenu::aboutToShow, this, &AppDelegate::statusBarMenu);

    m_statusItem = std::make_unique<QSystemTrayIcon>();
    m_statusItem->setContextMenu(m_statusBarMenu.get());
    connect(m_statusItem.get(), &QSystemTrayIcon::activated, this, &AppDelegate::onStatusItem);
    // The application object hears of a new palette (a light or dark desktop theme); watching
    // it means seeing every event of the application, each one a type comparison here.
    qApp->installEventFilter(this);
    connect(&m_services.watcher, &PBWatcher::watchingChanged, this, &AppDelegate::updateStatusIcon);
    updateStatusIcon();
    m_statusItem->show();
}

// The icon and its tooltip say whether Vantrel records.
void AppDelegate::updateStatusIcon()
{
    const bool paused = !m_services.watcher.watching();
    const QPalette palette = QGuiApplication::palette();
    m_statusItem->setIcon(StatusIcon::icon(palette.color(QPalette::WindowText),
                                           palette.color(QPalette::Window), paused));
    m_statusItem->setToolTip(paused ? tr("Vantrel \u2014 recording paused")
                                    : QStringLiteral("Vantrel"));
}

bool AppDelegate::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ApplicationPaletteChange && watched == qApp && m_statusItem)
        updateStatusIcon();
    return QObject::eventFilter(watched, event);
}

void AppDelegate::onStatusItem(QSystemTrayIcon::ActivationReason reason)
{
    // The context menu opens by itself on a right click; a left click opens it too.
    if (reason == QSystemTrayIcon::Trigger)
        m_statusBarMenu->popup(QCursor::pos());
}

QMenu* AppDelegate::statusBarMenu()
{
    m_statusBarMenu->clear();
    m_statusBarMenu->addAction(m_recordingItem);
    updateRecordingItemUI(m_recordingItem);
    addIgnoreNextCopyItem();
    m_statusBarMenu->addSeparator();
    addMenuItem(tr("Open Vantrel"), &AppDelegate::onOpenMainWindowItem);
    addMenuItem(tr("Open Vantrel Mini"), &AppDelegate::onOpenMiniWindowItem);
    m_statusBarMenu->addSeparator();
    m_statusBarMenu->addAction(m_preferencesItem);
    m_statusBarMenu->addSeparator();
    addMenuItem(tr("Rate Us"), &AppDelegate::onRateUs);
    addMenuItem(tr("Contact Us"), &AppDelegate::onContactUs);
    m_statusBarMenu->addSeparator();
    m_statusBarMenu->addAction(m_exitItem);
    return m_statusBarMenu.get();
}

void AppDelegate::addMenuItem(const QString& title, void (AppDelegate::*action)())
{
    QAction* item = m_statusBarMenu->addAction(title);
    connect(item, &QAction::triggered, this, action);
}

// For a one-off secret from an application that marks nothing as such: the next copy made
// anywhere is not recorded. Ticked while armed; unticking disarms it.
void AppDelegate::addIgnoreNextCopyItem()
{
    QAction* item = m_statusBarMenu->addAction(tr("Ignore the next copy"));
    item->setCheckable(true);
    item->setChecked(m_services.watcher.ignoreNextCopy());
    connect(item, &QAction::triggered, this,
            [this](bool ignore) { m_services.watcher.setIgnoreNextCopy(ignore); });
}

void AppDelegate::updateRecordingItemUI(QAction* item)
{
    const bool watching = m_services.watcher.watching();
    item->setIcon(watching ? resizedImage(QStringLiteral("recording_1"), 10)
                           : resizedImage(QStringLiteral("recording_2"), 14));
    item->setText(watching ? tr("Recording...") : tr("Paused"));
}

void AppDelegate::onToggleRecording()
{
    if (m_services.watcher.watching())
        m_services.watcher.stopWatch();
    else
        m_services.watcher.startWatch();
}

void AppDelegate::onOpenMainWindowItem()
{
    if (m_windows)
        m_windows->showMainWindow();
}

void AppDelegate::onOpenMiniWindowItem()
{
    if (m_windows)
        m_windows->showMiniWindow();
}

void AppDelegate::onPreferencesItem()
{
    if (!m_services.settingsWindow) {
        qCInfo(lcShell, "no preferences window in this process");
        return;
    }
    if (QWidget* window = m_services.settingsWindow())
        Utils::bringToFront(window);
}

void AppDelegate::onRateUs()
{
    // Software centres (GNOME Software, KDE Discover) open the application's page for this link.
    QDesktopServices::openUrl(QUrl(QStringLiteral("appstream://" VANTREL_APP_ID)));
}

void AppDelegate::onContactUs()
{
    Utils::email();
}

void AppDelegate::onExitItem()
{
    QCoreApplication::quit();
}
