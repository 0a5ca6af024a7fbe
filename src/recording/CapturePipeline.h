#pragma once

#include "item/PBContent.h"
#include "recording/PBPasteboardItemObserver.h"

#include <memory>

class DBManager;
class DataManager;
class PBContentComparer;
class SerialQueue;
class SettingsModel;
class Workspace;

// Where a clipboard change becomes history records: each pasteboard item is parsed, the batch is
// put to the copy-mode comparer, and a batch to be recorded has its payload files written and its
// items inserted, in clipboard order. The watcher calls it on the main thread; the comparer is
// told the copy mode the settings hold at each change, and the source is the application active
// at that moment.
//
// A copy may be of any size, so the whole of it after the source and the copy mode (the parsing,
// the comparison, the payload writes and the inserts) runs on a capture thread of the pipeline's
// own, one change after the other, in the order the watcher saw them. Once its row is written, an
// item lets go of its payloads (it reads them back from its files when asked), so a huge copy is
// held in memory only while it is being stored, and only once.
class CapturePipeline : public PBPasteboardItemObserver
{
public:
    // All must outlive the pipeline; the comparer is used only by the pipeline's capture thread.
    CapturePipeline(const Workspace& workspace, PBContentComparer& comparer,
                    const SettingsModel& settings, const DataManager& dataManager,
                    DBManager& dbManager);
    // Records what the changes handed over so far hold (finishPendingCaptures).
    ~CapturePipeline() override;

    void pasteboardItemChanged(const QList<PasteboardItem>& items) override;

    // Waits until every change handed over so far is recorded. For quitting: a copy made just
    // before is then still in the history for the last retention pass. Main thread.
    void finishPendingCaptures();

private:
    // Capture thread.
    void capture(const QList<PasteboardItem>& items, const QString& source, qint64 copyMode);
    void insert(const PBContentPtr& content);

    const Workspace& m_workspace;
    PBContentComparer& m_comparer;
    const SettingsModel& m_settings;
    const DataManager& m_dataManager;
    DBManager& m_dbManager;
    // Shared with the inserts' completions, which may run on the main thread after the pipeline
    // has gone.
    std::shared_ptr<SerialQueue> m_captureQueue;
};
