#pragma once

#include "CountingReview.h"
#include "StoreFixture.h"
#include "browser/MainWindowController.h"
#include "platform/WorkspaceNull.h"
#include "shell/AppDelegate.h"
#include "shell/TimeUpdater.h"

#include <QTemporaryDir>
#include <memory>

// The application as it stands after start-up, on a store in a temporary folder, an in-memory
// clipboard and user defaults in a temporary file.
struct ShellFixture
{
    StoreFixture store;
    WorkspaceNull workspace;
    TimeUpdater timeUpdater;
    CountingReview review;
    QTemporaryDir config;
    std::unique_ptr<MainWindowController> mainWindow =
        std::make_unique<MainWindowController>(ViewController::Services{
            store.watcher, *store.manager, store.dataManager, store.settings, workspace});
    std::unique_ptr<AppDelegate> delegate = std::make_unique<AppDelegate>(
        AppDelegate::Services{store.watcher, timeUpdater, *store.manager, review,
                              config.filePath(QStringLiteral("vantrel/vantrel.conf"))});

    ShellFixture() { delegate->applicationDidFinishLaunching(mainWindow->contentViewController()); }
    ~ShellFixture()
    {
        // The windows and the delegate go before the store they work on.
        delegate.reset();
        mainWindow.reset();
    }

    ViewController& viewController() const { return mainWindow->contentViewController(); }
};
