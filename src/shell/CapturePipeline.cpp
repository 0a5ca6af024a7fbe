#include "shell/CapturePipeline.h"

#include "capture/PBContentComparer.h"
#include "capture/PBContentParser.h"
#include "platform/Workspace.h"
#include "storage/DBManager.h"
#include "storage/DataManager.h"
#include "storage/SettingsModel.h"
#include "support/Logging.h"
#include "support/SerialQueue.h"
#include "support/ThreadPoster.h"

CapturePipeline::CapturePipeline(const Workspace& workspace, PBContentComparer& comparer,
                                 const SettingsModel& settings, const DataManager& dataManager,
                                 DBManager& dbManager)
    : m_workspace(workspace), m_comparer(comparer), m_settings(settings),
      m_dataManager(dataManager), m_dbManager(dbManager),
      m_mainPoster(std::make_unique<ThreadPoster>()),
      m_captureQueue(std::make_unique<SerialQueue>())
{}

CapturePipeline::~CapturePipeline()
{
    finishPendingCaptures();
}

void CapturePipeline::pasteboardItemChanged(const QList<PasteboardItem>& items)
{
    // What the change is recorded under is what holds at the moment it was seen.
    const QString source = m_workspace.activeApplicationId();
    const qint64 copyMode = qint64(m_settings.copyMode());
    m_captureQueue->async([this, items, source, copyMode] { capture(items, source, copyMode); });
}

void CapturePipeline::finishPendingCaptures()
{
    m_captureQueue->sync([] {});
    insertStored();
}

void CapturePipeline::capture(const QList<PasteboardItem>& items, const QString& source,
                              qint64 copyMode)
{
    QList<PBContentPtr> batch;
    batch.reserve(items.size());
    for (const PasteboardItem& pasteboardItem : items) {
        if (PBContentPtr content = PBContentParser::contentWithPasteboardItem(pasteboardItem)) {
            content->app = source;
            batch.append(std::move(content));
        }
    }
    if (!m_comparer.pushAndCompareDataArray(batch, copyMode))
        return;

    for (const PBContentPtr& content : std::as_const(batch)) {
        // A payload that could not be written would leave a record that cannot be copied back:
        // such an item is not recorded at all (its other files are already gone).
        const std::optional<QStringList> paths = m_dataManager.saveDataOfContent(*content);
        if (!paths) {
            qCWarning(lcCapture).noquote() << "payload files not written for" << content->uuid;
            continue;
        }
        content->setDataPathArray(*paths);
        handOver(content);
    }
}

// From here on the item belongs to the main thread.
void CapturePipeline::handOver(const PBContentPtr& content)
{
    {
        std::lock_guard lock(m_storedMutex);
        m_stored.push_back(content);
    }
    m_mainPoster->post([this] { insertStored(); });
}

void CapturePipeline::insertStored()
{
    std::deque<PBContentPtr> stored;
    {
        std::lock_guard lock(m_storedMutex);
        stored.swap(m_stored);
    }
    for (const PBContentPtr& content : stored)
        insert(content);
}

void CapturePipeline::insert(const PBContentPtr& content)
{
    m_dbManager.insertPbContent(content, [dataManager = &m_dataManager, content](bool written) {
        // Files of an item the history refused would be orphans nobody ever deletes.
        if (!written) {
            dataManager->deleteDataOfContent(*content);
            return;
        }
        // Its payloads are in their files now: the history need not hold them too.
        content->setPayloadReader(dataManager);
        content->releaseDataArray();
    });
}
