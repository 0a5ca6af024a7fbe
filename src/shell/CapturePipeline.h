#pragma once

#include "capture/PBPasteboardItemObserver.h"

class DBManager;
class DataManager;
class PBContentComparer;
class SettingsModel;
class Workspace;

// Where a clipboard change becomes history records: each pasteboard item is parsed, the batch is
// put to the copy-mode comparer, and a batch to be recorded has its payload files written and its
// items inserted, in clipboard order. Runs on the main thread, called by the watcher; the
// comparer is told the copy mode the settings hold at each change.
class CapturePipeline : public PBPasteboardItemObserver
{
public:
    // All must outlive the pipeline.
    CapturePipeline(const Workspace& workspace, PBContentComparer& comparer,
                    const SettingsModel& settings, const DataManager& dataManager,
                    DBManager& dbManager);

    void pasteboardItemChanged(const QList<PasteboardItem>& items) override;

private:
    const Workspace& m_workspace;
    PBContentComparer& m_comparer;
    const SettingsModel& m_settings;
    const DataManager& m_dataManager;
    DBManager& m_dbManager;
};
