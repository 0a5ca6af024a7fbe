#pragma once

#include "shell/CommandLine.h"

#include <QObject>
#include <QString>
#include <QSystemTrayIcon>
#include <functional>
#include <memory>

class GlobalShortcuts;
class PBWatcher;
class QAction;
class QMenu;
class Retention;
class QWidget;
class Review;
class ReviewPrompt;
class ShortcutBindings;
class TimeUpdater;
class UnixSignals;
class UserDefaults;
class WindowCommands;

// The application's life cycle: starts watching and the clock tick at start-up,
// keeps the tray icon and its menu, binds the global shortcuts, answers the requests of later
// starts (re-open and the command-line actions), prunes the history when the application loses
// focus, and turns SIGTERM, SIGINT, SIGHUP and the end of the desktop session into a quit. The
// composition root calls applicationWillTerminate() in its quit sequence. Main thread only.
class AppDelegate : public QObject
{
    Q_OBJECT

public:
    // What the delegate works with; all must outlive it.
    struct Services
    {
        PBWatcher& watcher;
        TimeUpdater& timeUpdater;
        Retention& retention;
        Review& review;
        GlobalShortcuts& globalShortcuts;
        QString userDefaultsPath;
        // The preferences window, made by the layer above on first use and kept there (the shell
        // knows no windows above it); none: the Preferences entry does nothing.
        std::function<QWidget*()> settingsWindow;
        // Whether a tray host shows the tray icon at start; none: as Qt finds it.
        std::function<bool()> trayAvailable = {};
    };

    explicit AppDelegate(const Services& services, QObject* parent = nullptr);
    ~AppDelegate() override;

    // The start-up; the windows (which may be made only when first brought up) must outlive the
    // delegate. Where no tray shows the icon, the main window comes up, since nothing else would
    // show that Vantrel runs.
    void applicationDidFinishLaunching(WindowCommands& windows);

    // Carries out what a start of `vantrel` asked for.
    void handleRequest(ShellRequest request);

    // Re-open: brings the shown windows to the front, restoring minimised ones, when there are
    // any (false); else brings back the window last brought up (true).
    bool applicationShouldHandleReopen(bool hasVisibleWindows);
    // Whether any of the application's windows is shown, minimised ones included.
    static bool hasVisibleWindows();

    void applicationWillResignActive();
    void applicationWillTerminate();

    // Counts the main window's appearances for the rating prompt.
    void mainWindowDidAppear();

    // The tray icon, with the menu it rebuilds on each activation; null before start-up.
    QSystemTrayIcon* statusItem() const { return m_statusItem.get(); }
    // The bindings of the two global shortcuts, from the start-up on (null before it): the
    // preferences record new shortcuts through them.
    ShortcutBindings* shortcutBindings() const { return m_shortcutBindings.get(); }
    // Rebuilds the tray menu's entries (on each opening) and returns the menu.
    QMenu* statusBarMenu();
    // The entries the tray menu shares with the main window's own menu, which reaches them on a
    // desktop without a tray: pause or resume recording, preferences and quit, in this order.
    // The same actions in both menus, so they do and show the same.
    QList<QAction*> windowMenuActions() const;

private:
    void bindShortcuts();
    // The first run's welcome, and without a tray the main window with a word on how to reach it.
    void greet();
    bool trayAvailable() const;
    // Makes the tray icon and connects its activation.
    void configStatusItem();
    // Rebuilds the tray menu for the current state when the tray icon is activated.
    void onStatusItem(QSystemTrayIcon::ActivationReason reason);
    void updateStatusIcon();
    void updateRecordingItemUI(QAction* item);
    void addIgnoreNextCopyItem();
    void makeSharedItems();
    QAction* makeItem(const QString& title, void (AppDelegate::*action)());
    void addMenuItem(const QString& title, void (AppDelegate::*action)());
    void onToggleRecording();
    void onOpenMainWindowItem();
    void onOpenMiniWindowItem();
    void onPreferencesItem();
    void onRateUs();
    void onContactUs();
    void onExitItem();
    void applicationStateChanged(Qt::ApplicationState state);
    bool eventFilter(QObject* watched, QEvent* event) override;

    Services m_services;
    std::unique_ptr<UserDefaults> m_userDefaults;
    std::unique_ptr<ReviewPrompt> m_reviewPrompt;
    std::unique_ptr<UnixSignals> m_unixSignals;
    std::unique_ptr<ShortcutBindings> m_shortcutBindings;
    WindowCommands* m_windows = nullptr;
    // Declared after the menu it shows, so that it goes first.
    std::unique_ptr<QMenu> m_statusBarMenu;
    std::unique_ptr<QSystemTrayIcon> m_statusItem;
    // Shared by the tray menu and the window's menu; owned by the delegate.
    QAction* m_recordingItem = nullptr;
    QAction* m_preferencesItem = nullptr;
    QAction* m_exitItem = nullptr;
    Qt::ApplicationState m_applicationState;
};
