#pragma once

#include "CountingReview.h"
#include "StoreFixture.h"
#include "StoredRows.h"
#include "browser/MainWindowController.h"
#include "browser/RowArtworkCache.h"
#include "platform/GlobalShortcuts.h"
#include "platform/doubles/WorkspaceNull.h"
#include "recording/CapturePipeline.h"
#include "recording/PBContentComparer.h"
#include "shell/AppDelegate.h"
#include "shell/TimeUpdater.h"
#include "storage/Retention.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeySequence>
#include <QMap>
#include <QTemporaryDir>
#include <memory>

// Global shortcuts that register whatever they are given and are pressed by the test.
class PressableShortcuts : public GlobalShortcuts
{
public:
    bool registerShortcut(const QString& id, const QKeySequence& sequence) override
    {
        registered.insert(id, sequence);
        return true;
    }
    void unregisterShortcut(const QString& id) override { registered.remove(id); }
    void press(const QString& id) { emit activated(id); }

    QMap<QString, QKeySequence> registered;
};

// The application as it stands after start-up, on a store in a temporary folder, an in-memory
// clipboard and user defaults in a temporary file: the graph the composition root builds, in its
// order, from doubles.
struct ShellFixture
{
    StoreFixture store;
    WorkspaceNull workspace;
    PBContentComparer comparer;
    CapturePipeline pipeline{workspace, comparer, store.settings, store.dataManager,
                             *store.manager};
    TimeUpdater timeUpdater;
    Retention retention{*store.manager, store.settings, store.clock};
    CountingReview review;
    PressableShortcuts shortcuts;
    QTemporaryDir config;
    QString userDefaultsPath = config.filePath(QStringLiteral("vantrel/vantrel.conf"));
    RowArtworkCache artwork{QSize(40, 40)};
    // Stands for the preferences window, a layer above the shell.
    QWidget settingsWindow;
    // Whether a tray host shows the icon; the desktop of most tests has one.
    bool trayShown = true;
    std::unique_ptr<MainWindowController> mainWindow = std::make_unique<MainWindowController>(
        ViewController::Services{*store.manager, store.watcher, timeUpdater, artwork,
                                 Clock::system()},
        userDefaultsPath);
    std::unique_ptr<AppDelegate> delegate;

    ShellFixture() : ShellFixture(true) {}
    // Started where a tray shows the icon, or not, on the user defaults given as INI text.
    explicit ShellFixture(bool withTray, const QByteArray& userDefaults = {}) : trayShown(withTray)
    {
        if (!userDefaults.isEmpty()) {
            QDir().mkpath(QFileInfo(userDefaultsPath).absolutePath());
            QFile file(userDefaultsPath);
            if (file.open(QIODevice::WriteOnly))
                file.write(userDefaults);
        }
        delegate = std::make_unique<AppDelegate>(AppDelegate::Services{
            store.watcher, timeUpdater, retention, review, shortcuts, userDefaultsPath,
            [this] { return &settingsWindow; }, [this] { return trayShown; }});
        settingsWindow.setObjectName(QStringLiteral("settingsWindow"));
        store.watcher.addObserver(&pipeline);
        ViewController& content = mainWindow->contentViewController();
        // The real mini window is a layer above; the shell needs only a window to bring up.
        content.setMiniWindowFactory([] {
            auto miniWindow = std::make_unique<QWidget>();
            miniWindow->setObjectName(QStringLiteral("miniWindow"));
            return miniWindow;
        });
        // The real welcome tells of shortcuts and log-in; here it only shows that it was asked.
        content.setWelcomeFactory([] {
            auto welcome = std::make_unique<QWidget>();
            welcome->setObjectName(QStringLiteral("welcome"));
            return welcome;
        });
        QObject::connect(&content, &ViewController::viewDidAppear, delegate.get(),
                         &AppDelegate::mainWindowDidAppear);
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, delegate.get(),
                         &AppDelegate::applicationWillTerminate);
        delegate->applicationDidFinishLaunching(content);
    }
    ~ShellFixture()
    {
        // The delegate and the windows go before the store they work on.
        delegate.reset();
        mainWindow.reset();
        store.watcher.removeObserver(&pipeline);
    }

    ViewController& viewController() const { return mainWindow->contentViewController(); }

    // Copies the text as another application would; the watcher sees it at its next poll.
    void copy(const QString& text)
    {
        const QString type = QStringLiteral("public.utf8-plain-text");
        store.pasteboard.setItems({PasteboardItem({type}, {{type, text.toUtf8()}})});
    }

    // The keywords of the stored rows, in keyword order.
    QStringList storedKeywords() const
    {
        return StoredRows::column(store.manager->dbPath(), QStringLiteral("keyword"));
    }
};
