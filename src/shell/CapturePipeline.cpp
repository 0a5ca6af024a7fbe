#include "shell/CapturePipeline.h"

#include "capture/PBContentComparer.h"
#include "capture/PBContentParser.h"
#include "platform/Workspace.h"
#include "storage/DBManager.h"
#include "storage/DataManager.h"
#include "storage/SettingsModel.h"
#include "support/Logging.h"

CapturePipeline::CapturePipeline(const Workspace& workspace, PBContentComparer& comparer,
                                 const SettingsModel& settings, const DataManager& dataManager,
                                 DBManager& dbManager)
    : m_workspace(workspace), m_comparer(comparer), m_settings(settings),
      m_dataManager(dataManager), m_dbManager(dbManager)
{}

void CapturePipeline::pasteboardItemChanged(const QList<PasteboardItem>& items)
{
    QList<PBContentPtr> batch;
    batch.reserve(items.size());
    const QString source = m_workspace.activeApplicationId();
    for (const PasteboardItem& pasteboardItem : items) {
        if (PBContentPtr content = PBContentParser::contentWithPasteboardItem(pasteboardItem)) {
            content->setApp(source);
            batch.append(std::move(content));
        }
    }
    if (!m_comparer.pushAndCompareDataArray(batch, qint64(m_settings.copyMode())))
        return;

    for (const PBContentPtr& content : std::as_const(batch)) {
        // A payload that could not be written would leave a record that cannot be copied back:
        // such an item is not recorded at all (its other files are already gone).
        const std::optional<QStringList> paths = m_dataManager.saveDataOfContent(*content);
        if (!paths) {
            qCWarning(lcCapture).noquote() << "payload files not written for" << content->uuid();
            continue;
        }
        content->setDataPathArray(*paths);
        // Files of an item the history refused would be orphans nobody ever deletes.
        m_dbManager.insertPbContent(content, [dataManager = &m_dataManager, content](bool written) {
            if (!written)
                dataManager->deleteDataOfContent(*content);
        });
    }
}
