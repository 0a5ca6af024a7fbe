#pragma once

#include "FixedClock.h"
#include "platform/doubles/ApplicationStateMemory.h"
#include "platform/doubles/PasteboardMemory.h"
#include "recording/PBWatcher.h"
#include "storage/DBManager.h"
#include "storage/DataManager.h"
#include "storage/SettingsModel.h"

#include <QTemporaryDir>
#include <memory>

// A history store in a temporary folder with in-memory companions: what the store and the
// capture tests build on.
struct StoreFixture
{
    QTemporaryDir folder;
    DataManager dataManager{folder.filePath(QStringLiteral("data"))};
    SettingsModel settings;
    PasteboardMemory pasteboard;
    ApplicationStateMemory applicationState;
    PBWatcher watcher{pasteboard, applicationState};
    FixedClock clock;
    std::unique_ptr<DBManager> manager = makeManager(folder.path());

    std::unique_ptr<DBManager> makeManager(const QString& path)
    {
        return std::make_unique<DBManager>(path, DBManager::Services{dataManager, clock});
    }
};
