#include "StoreFixture.h"
#include "StoredRows.h"
#include "platform/PasteboardItem.h"
#include "platform/doubles/WorkspaceNull.h"
#include "recording/CapturePipeline.h"
#include "recording/PBContentComparer.h"
#include "recording/PBContentParser.h"
#include "storage/DBManager.h"
#include "storage/DataManager.h"
#include "storage/SettingsModel.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QString plainText = QStringLiteral("public.utf8-plain-text");

PasteboardItem text(const QString& value)
{
    return PasteboardItem({plainText}, {{plainText, value.toUtf8()}});
}

PasteboardItem unparseable()
{
    const QString type = QStringLiteral("application/x-unknown");
    return PasteboardItem({type}, {{type, QByteArray("?")}});
}

class FixedWorkspace : public WorkspaceNull
{
public:
    DesktopWindow activeWindow() const override { return {1}; }
    QString applicationId(DesktopWindow) const override { return id; }
    QString id = QStringLiteral("org.example.Source");
};
} // namespace

class TestCapturePipeline : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_store = std::make_unique<StoreFixture>();
        m_settings = &m_store->settings;
        m_data = &m_store->dataManager;
        m_manager = m_store->manager.get();
        m_comparer = std::make_unique<PBContentComparer>();
        m_pipeline = std::make_unique<CapturePipeline>(m_workspace, *m_comparer, *m_settings,
                                                       *m_data, *m_manager);
    }

    void cleanup()
    {
        m_pipeline.reset();
        m_store.reset();
    }

    void unparseableItemIsDroppedAndTheLastItemLeadsRecents()
    {
        m_pipeline->pasteboardItemChanged({text(QStringLiteral("something else"))});
        m_pipeline->pasteboardItemChanged(
            {text(QStringLiteral("first")), unparseable(), text(QStringLiteral("third"))});
        QTRY_COMPARE(m_manager->recentItems().size(), 3);
        QCOMPARE(m_manager->recentItems()[0]->keyword(), QStringLiteral("third"));
        QCOMPARE(m_manager->recentItems()[1]->keyword(), QStringLiteral("first"));
        QCOMPARE(m_manager->recentItems()[0]->app(), QStringLiteral("org.example.Source"));
    }

    void copyModesDecideWhatIsRecorded_data()
    {
        QTest::addColumn<qint64>("copyMode");
        QTest::addColumn<QStringList>("copies");
        QTest::addColumn<QStringList>("recorded");
        const QString a = QStringLiteral("A"), b = QStringLiteral("B");
        QTest::newRow("copy: repeat once") << qint64(0) << QStringList{a, a} << QStringList{a};
        QTest::newRow("copy: A B A") << qint64(0) << QStringList{a, b, a} << QStringList{a, b, a};
        QTest::newRow("twice: single copy") << qint64(1) << QStringList{a} << QStringList{};
        QTest::newRow("twice: A A A") << qint64(1) << QStringList{a, a, a} << QStringList{a};
    }

    void copyModesDecideWhatIsRecorded()
    {
        QFETCH(qint64, copyMode);
        QFETCH(QStringList, copies);
        QFETCH(QStringList, recorded);
        m_settings->setCopyMode(SettingsModel::CopyMode(copyMode));
        for (const QString& copy : copies)
            m_pipeline->pasteboardItemChanged({text(copy)});
        QCOMPARE(recordedKeywords(), recorded);
    }

    void unknownSourceApplicationIsTheEmptyText()
    {
        m_workspace.id = QStringLiteral("");
        m_pipeline->pasteboardItemChanged({text(QStringLiteral("x"))});
        QTRY_COMPARE(m_manager->recentItems().size(), 1);
        QVERIFY(!m_manager->recentItems()[0]->app().isNull());
        QCOMPARE(m_manager->recentItems()[0]->app(), QStringLiteral(""));
    }

    // Under "Copy" the empty batch takes the place of the one remembered, so the same text
    // copied again is no repeat.
    void changeWithOnlyRefusedItemsStillReachesTheComparer()
    {
        m_pipeline->pasteboardItemChanged({text(QStringLiteral("again"))});
        m_pipeline->pasteboardItemChanged({unparseable()});
        m_pipeline->pasteboardItemChanged({text(QStringLiteral("again"))});
        QCOMPARE(recordedKeywords(), QStringList(2, QStringLiteral("again")));
    }

    void itemWhosePayloadCannotBeWrittenIsNotRecorded()
    {
        // A plain file where the payload folder should be: no payload can be written.
        QFile blocker(m_store->folder.filePath(QStringLiteral("data")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QSignalSpy listed(m_manager, &DBManager::itemInserted);
        m_pipeline->pasteboardItemChanged({text(QStringLiteral("lost?"))});
        QVERIFY(recordedKeywords().isEmpty());
        QVERIFY(listed.isEmpty());
    }

    void payloadFilesOfARefusedItemAreRemoved()
    {
        QTemporaryDir brokenFolder;
        QVERIFY(QDir(brokenFolder.path()).mkdir(QStringLiteral("db.sqlite3")));
        const auto broken = m_store->makeManager(brokenFolder.path());
        CapturePipeline pipeline(m_workspace, *m_comparer, *m_settings, *m_data, *broken);
        pipeline.pasteboardItemChanged({text(QStringLiteral("orphan?"))});
        pipeline.finishPendingCaptures();
        QVERIFY(QDir(m_data->savePath()).entryList(QDir::Files).isEmpty());
    }

    // Once stored, no copy of a huge text stays in memory: the item reads it from its file.
    void hugeCopyIsNotHeldOnceStored()
    {
        QByteArray bytes(3 * PBContentParser::keywordLimit, 'h');
        m_pipeline->pasteboardItemChanged({PasteboardItem({plainText}, {{plainText, bytes}})});
        QTRY_COMPARE(m_manager->recentItems().size(), 1);
        QTRY_VERIFY(bytes.isDetached());
        QCOMPARE(m_manager->recentItems().first()->readDataArray(), QList<QByteArray>{bytes});
    }

    // Quitting goes through here once the main thread delivers no more events.
    void copyStillBeingStoredIsRecordedWhenFinishing()
    {
        m_pipeline->pasteboardItemChanged({text(QStringLiteral("just before quitting"))});
        m_pipeline->finishPendingCaptures();
        QCOMPARE(StoredRows::column(m_manager->dbPath(), QStringLiteral("keyword")),
                 QStringList{QStringLiteral("just before quitting")});
    }

private:
    // The keywords of Recents, oldest first, once every change handed over is recorded.
    QStringList recordedKeywords()
    {
        m_pipeline->finishPendingCaptures();
        QCoreApplication::processEvents();
        QStringList keywords;
        for (const PBContentPtr& item : m_manager->recentItems())
            keywords.prepend(item->keyword());
        return keywords;
    }

    FixedWorkspace m_workspace;
    std::unique_ptr<StoreFixture> m_store;
    SettingsModel* m_settings = nullptr;
    DataManager* m_data = nullptr;
    DBManager* m_manager = nullptr;
    std::unique_ptr<PBContentComparer> m_comparer;
    std::unique_ptr<CapturePipeline> m_pipeline;
};

QTEST_GUILESS_MAIN(TestCapturePipeline)
#include "tst_capturepipeline.moc"
