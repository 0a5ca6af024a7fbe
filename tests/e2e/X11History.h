#pragma once

#include "browser/RowArtworkCache.h"
#include "browser/ViewController.h"
#include "platform/ApplicationStateQt.h"
#include "platform/doubles/WorkspaceNull.h"
#include "platform/x11/PasteboardX11.h"
#include "recording/CapturePipeline.h"
#include "recording/PBContentComparer.h"
#include "recording/PBWatcher.h"
#include "shell/TimeUpdater.h"
#include "storage/DBManager.h"
#include "storage/DataManager.h"
#include "storage/SettingsModel.h"
#include "support/Clock.h"

#include <QGuiApplication>
#include <QTemporaryDir>

// The application's capture and history services on a real history file in a temporary folder
// and the real X11 clipboard: what the windows of the end-to-end tests run on. The watcher hands
// every change to the capture pipeline once watching starts.
struct X11History
{
    QTemporaryDir home;
    PasteboardX11 pasteboard{QGuiApplication::clipboard()};
    ApplicationStateQt state;
    PBWatcher watcher{pasteboard, state};
    DataManager dataManager{home.filePath(QStringLiteral("data"))};
    SettingsModel settings;
    WorkspaceNull workspace;
    DBManager store{home.path(), DBManager::Services{dataManager, Clock::system()}};
    PBContentComparer comparer;
    CapturePipeline pipeline{workspace, comparer, settings, dataManager, store};
    TimeUpdater timeUpdater;
    RowArtworkCache artwork{QSize(40, 40)};

    X11History() { watcher.addObserver(&pipeline); }
    ~X11History() { watcher.removeObserver(&pipeline); }

    ViewController::Services viewServices()
    {
        return {store, watcher, timeUpdater, artwork, Clock::system()};
    }
};
