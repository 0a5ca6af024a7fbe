#pragma once

#include "capture/PBContent.h"
#include "capture/PBPasteboardItemObserver.h"

#include <deque>
#include <memory>
#include <mutex>

class DBManager;
class DataManager;
class PBContentComparer;
class SerialQueue;
class SettingsModel;
class ThreadPoster;
class Workspace;

// Where a clipboard change becomes history records: each pasteboard item is parsed, the batch is
// put to the copy-mode comparer, and a batch to be recorded has its payload files written and its
// items inserted, in clipboard order. The watcher calls it on the main thread; the comparer is
// told the copy mode the settings hold at each change, and the source is the application active
// at that moment.
//
// A copy may be of any size, so the parsing, the comparison and the payload writes run on a
// capture thread of the pipeline's own, one change after the other; each item whose files are
// written is then inserted on the main thread, in the same order. Once stored, an item lets go of
// its payloads (it reads them back from its files when asked), so a huge copy is held in memory
// only while it is being stored, and only once.
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

    // Waits until every change handed over so far is parsed and written, and inserts its items
    // now. For quitting, when the main thread's events are no longer delivered: a copy made just
    // before is then still recorded. Main thread.
    void finishPendingCaptures();

private:
    // Capture thread.
    void capture(const QList<PasteboardItem>& items, const QString& source, qint64 copyMode);
    void handOver(const PBContentPtr& content);
    // Main thread.
    void insertStored();
    void insert(const PBContentPtr& content);

    const Workspace& m_workspace;
    PBContentComparer& m_comparer;
    const SettingsModel& m_settings;
    const DataManager& m_dataManager;
    DBManager& m_dbManager;
    // Items whose files are written, oldest first, waiting for their insert. Kept here rather
    // than in the posted calls, so that quitting can still insert them.
    std::mutex m_storedMutex;
    std::deque<PBContentPtr> m_stored;
    std::unique_ptr<ThreadPoster> m_mainPoster;
    std::unique_ptr<SerialQueue> m_captureQueue; // last: its blocks use the members above
};
