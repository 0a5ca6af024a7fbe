#include "recording/CapturePipeline.h"

#include "platform/Workspace.h"
#include "recording/PBContentComparer.h"
#include "recording/PBContentParser.h"
#include "storage/DBManager.h"
#include "storage/DataManager.h"
#include "storage/SettingsModel.h"
#include "support/Logging.h"
#include "support/SerialQueue.h"

CapturePipeline::CapturePipeline(const Workspace& workspace, PBContentComparer& comparer,
                                 const SettingsModel& settings, const DataManager& dataManager,
                                 DBManager& dbManager)
    : m_workspace(workspace), m_comparer(comparer), m_settings(settings),
      m_dataManager(dataManager), m_dbManager(dbManager),
      m_captureQueue(std::make_shared<SerialQueue>())
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
}

void CapturePipeline::capture(const QList<PasteboardItem>& items, const QString& source,
                              qint64 copyMode)
{
    QList<PBContentPtr> batch;
    batch.reserve(items.size());
    for (const PasteboardItem& pasteboardItem : items) {
        if (PBContentPtr content = PBContentParser::contentWithPasteboardItem(pasteboardItem)) {
            content->setApp(source);
            batch.append(std::move(content));
        }
    }
    if (!m_comparer.pushAndCompareDataArray(batch, copyMode))
        return;

    for (const PBContentPtr& content : std::as_const(batch)) {
        // A payload that could not be written would leave a record that cannot be copied back:
        // such an item is not recorded at all (its other files are already gone). The store has
        // said why, once for the whole run of such failures.
        const std::optional<QStringList> paths = m_dataManager.saveDataOfContent(*content);
        if (!paths) {
            qCDebug(lcCapture).noquote() << "payload files not written for" << content->uuid();
            continue;
        }
        content->setDataPathArray(*paths);
        insert(content);
    }
}

// The item belongs to the main thread once the insert has handed it over there.
void CapturePipeline::insert(const PBContentPtr& content)
{
    auto done = [dataManager = &m_dataManager, content, queue = m_captureQueue,
                 payloads =
                     content->dataArray().value_or(QList<QByteArray>())](bool written) mutable {
        // Files of an item the history refused would be orphans nobody ever deletes.
        if (!written) {
            dataManager->deleteDataOfContent(*content);
            return;
        }
        // Its payloads are in their files now: the history need not hold them too.
        content->setPayloadReader(dataManager);
        content->releaseDataArray();
        // The last reference to the bytes goes on the capture thread: freeing a huge copy takes
        // a while, which the main thread does not wait for.
        queue->async([freed = std::move(payloads)] {});
    };
    m_dbManager.insertPbContent(content, std::move(done));
}
