#pragma once

#include "CountingReview.h"
#include "StoreFixture.h"
#include "browser/MainWindowController.h"
#include "browser/RowArtworkCache.h"
#include "platform/GlobalShortcuts.h"
#include "platform/WorkspaceNull.h"
#include "shell/AppDelegate.h"
#include "shell/TimeUpdater.h"
#include "support/SqliteDatabase.h"
#include "support/SqliteStatement.h"

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
// clipboard and user defaults in a temporary file.
struct ShellFixture
{
    StoreFixture store;
    WorkspaceNull workspace;
    TimeUpdater timeUpdater;
    CountingReview review;
    PressableShortcuts shortcuts;
    QTemporaryDir config;
    QString userDefaultsPath = config.filePath(QStringLiteral("vantrel/vantrel.conf"));
    RowArtworkCache artwork{QSize(40, 40)};
    std::unique_ptr<MainWindowController> mainWindow = std::make_unique<MainWindowController>(
        ViewController::Services{store.watcher, *store.manager, store.dataManager, store.settings,
                                 workspace, store.pasteboard, timeUpdater, artwork,
                                 Clock::system()},
        userDefaultsPath);
    std::unique_ptr<AppDelegate> delegate = std::make_unique<AppDelegate>(AppDelegate::Services{
        store.watcher, timeUpdater, *store.manager, review, shortcuts, userDefaultsPath});

    ShellFixture() { delegate->applicationDidFinishLaunching(mainWindow->contentViewController()); }
    ~ShellFixture()
    {
        // The windows and the delegate go before the store they work on.
        delegate.reset();
        mainWindow.reset();
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
        SqliteDatabase db;
        if (!db.open(store.manager->dbPath()))
            return {};
        SqliteStatement select(db, QStringLiteral("SELECT keyword FROM pb_items ORDER BY keyword"));
        QStringList keywords;
        while (select.step())
            keywords << select.text("keyword");
        return keywords;
    }
};
