#include "RecordingChannel.h"
#include "StoreFixture.h"
#include "item/PBTextContent.h"
#include "shell/CompanionEndpoint.h"
#include "storage/Retention.h"
#include "support/SqliteDatabase.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {
PBContentPtr textItem(const QStringList& types, const QList<QByteArray>& payloads, bool marked)
{
    auto item = PBContent::createInstance<PBTextContent>();
    item->setKeyword(QString::fromUtf8(payloads.value(0)));
    item->setPasteboardTypes(types);
    item->marked = marked;
    item->setDataArray(payloads);
    item->setDataPathArray(QStringList{QStringLiteral("/nowhere/") + item->uuid()});
    return item;
}

PBContentPtr textItem(const QString& text, double date)
{
    PBContentPtr item =
        textItem({QStringLiteral("public.utf8-plain-text")}, {text.toUtf8()}, false);
    item->date = date;
    return item;
}

QStringList uuidsIn(const QJsonValue& summaries)
{
    QStringList uuids;
    for (const QJsonValue& summary : summaries.toArray())
        uuids << summary.toObject()[QStringLiteral("uuid")].toString();
    return uuids;
}

QStringList uuidsOf(const QList<PBContentPtr>& items)
{
    QStringList uuids;
    for (const PBContentPtr& item : items)
        uuids << item->uuid();
    return uuids;
}
} // namespace

class TestCompanionEndpoint : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_store = std::make_unique<StoreFixture>();
        m_channel = std::make_unique<RecordingChannel>();
        m_retention =
            std::make_unique<Retention>(*m_store->manager, m_store->settings, m_store->clock);
        m_endpoint = std::make_unique<CompanionEndpoint>(*m_channel, *m_store->manager,
                                                         *m_retention, m_store->watcher);
    }

    void cleanup()
    {
        m_endpoint.reset();
        m_retention.reset();
        m_channel.reset();
        m_store.reset();
    }

    void launchIsAnnouncedAndRequestsAreAnswered()
    {
        RecordingChannel& channel = *m_channel;
        QCOMPARE(channel.messages(QStringLiteral("app.launched")).size(), 1);
        const PBContentPtr item =
            textItem({QStringLiteral("public.utf8-plain-text")}, {"marked one"}, true);
        insert(item);
        load();

        channel.deliver(QStringLiteral("app.isLaunched"), std::nullopt);
        QCOMPARE(channel.messages(QStringLiteral("app.launched")).size(), 2);
        channel.deliver(QStringLiteral("request.update.recent"), QJsonValue(QStringLiteral("")));
        QCOMPARE(channel.messages(QStringLiteral("response.update.recent")).size(), 2);
        channel.deliver(QStringLiteral("request.update.marked"), std::nullopt);
        const auto marked = channel.messages(QStringLiteral("response.update.marked"));
        QCOMPARE(marked.size(), 1);
        QCOMPARE(marked.first().toArray().first().toObject()[QStringLiteral("uuid")].toString(),
                 item->uuid());

        m_endpoint->passTerminalMessage();
        QCOMPARE(channel.messages(QStringLiteral("app.terminate")).size(), 1);
    }

    void copyRequestPutsTheItemBackWithoutRecordingIt_data()
    {
        QTest::addColumn<int>("payloadCount");
        QTest::newRow("a payload per type") << 2;
        QTest::newRow("first type gave no bytes") << 1;
    }

    void copyRequestPutsTheItemBackWithoutRecordingIt()
    {
        QFETCH(int, payloadCount);
        const QStringList types{QStringLiteral("public.html"),
                                QStringLiteral("public.utf8-plain-text")};
        const PBContentPtr item = textItem(
            types, QList<QByteArray>({"<b>copy me</b>", "copy me"}).first(payloadCount), false);
        insert(item);
        const qint64 before = m_store->pasteboard.changeCount();

        m_channel->deliver(QStringLiteral("copy"), copyRequest(item->uuid(), u"t1"_s));
        QCOMPARE(m_store->pasteboard.changeCount(), before + 1);
        QVERIFY(m_store->watcher.ignoreNextCopy());
        const PasteboardItem written = m_store->pasteboard.pasteboardItems().first();
        QCOMPARE(written.types(), types.first(payloadCount));
        QCOMPARE(written.dataForType(QStringLiteral("public.html")), QByteArray("<b>copy me</b>"));
        const QJsonObject answer{{u"uuid"_s, item->uuid()}, {u"copied"_s, true}};
        QCOMPARE(m_channel->messages(u"response.copy.t1"_s), QList<QJsonValue>{answer});
    }

    void copyThatCannotBeDoneLeavesTheClipboardAndSaysWhy_data()
    {
        QTest::addColumn<bool>("known");
        QTest::addColumn<QString>("error");
        QTest::newRow("unknown uuid") << false << u"no such item"_s;
        QTest::newRow("payload file gone") << true << u"none of the item's contents can be read"_s;
    }

    void copyThatCannotBeDoneLeavesTheClipboardAndSaysWhy()
    {
        QFETCH(bool, known);
        QFETCH(QString, error);
        const PBContentPtr item =
            textItem({QStringLiteral("public.utf8-plain-text")}, {"x"}, false);
        const auto paths = m_store->dataManager.saveDataOfContent(*item);
        QVERIFY(paths);
        item->setDataPathArray(*paths);
        insert(item);
        QVERIFY(QFile::remove(paths->first()));
        const qint64 before = m_store->pasteboard.changeCount();

        const QString uuid = known ? item->uuid() : u"NOT-THERE"_s;
        m_channel->deliver(QStringLiteral("copy"), copyRequest(uuid, u"t2"_s));
        QCOMPARE(m_store->pasteboard.changeCount(), before);
        QVERIFY(!m_store->watcher.ignoreNextCopy());
        const QJsonObject answer{{u"uuid"_s, uuid}, {u"copied"_s, false}, {u"error"_s, error}};
        QCOMPARE(m_channel->messages(u"response.copy.t2"_s), QList<QJsonValue>{answer});
    }

    void malformedCopyRequestDoesNothing_data()
    {
        QTest::addColumn<std::optional<QJsonValue>>("message");
        QTest::newRow("unreadable file") << std::optional<QJsonValue>();
        QTest::newRow("a text") << std::optional<QJsonValue>(QStringLiteral("copy"));
        QTest::newRow("object without uuid") << std::optional<QJsonValue>(QJsonObject());
    }

    void malformedCopyRequestDoesNothing()
    {
        QFETCH(std::optional<QJsonValue>, message);
        insert(textItem({QStringLiteral("public.utf8-plain-text")}, {"x"}, false));
        const qint64 before = m_store->pasteboard.changeCount();
        m_channel->deliver(QStringLiteral("copy"), message);
        QCOMPARE(m_store->pasteboard.changeCount(), before);
        QVERIFY(!m_store->watcher.ignoreNextCopy());
    }

    void insertedItemIsAnnouncedOnce()
    {
        const PBContentPtr older = textItem(u"older"_s, 1.7e9);
        const PBContentPtr newer = textItem(u"newer"_s, 1.7e9 + 1);
        insert(older);
        insert(newer);
        m_store->manager->insertPbContent(older, {});
        QCoreApplication::processEvents();
        const auto inserts = m_channel->messages(u"insert"_s);
        QCOMPARE(inserts.size(), 2);
        QCOMPARE(inserts[0].toObject()[u"uuid"_s].toString(), older->uuid());
        QCOMPARE(inserts[1].toObject()[u"uuid"_s].toString(), newer->uuid());
    }

    void refusedItemIsNotAnnounced_data()
    {
        QTest::addColumn<int>("defect");
        QTest::newRow("no uuid") << 0;
        QTest::newRow("date 0") << 1;
        QTest::newRow("no payloads") << 2;
    }

    void refusedItemIsNotAnnounced()
    {
        QFETCH(int, defect);
        PBContentPtr item = textItem(u"k"_s, 1.7e9);
        if (defect == 0)
            item->setUuid(QString());
        if (defect == 1)
            item->date = 0;
        if (defect == 2) {
            item = PBContent::createInstance<PBTextContent>();
            item->setPasteboardTypes({QStringLiteral("public.utf8-plain-text")});
        }
        std::optional<bool> result;
        m_store->manager->insertPbContent(item, [&result](bool written) { result = written; });
        QCoreApplication::processEvents();
        QCOMPARE(result, std::optional<bool>(false));
        QVERIFY(m_channel->messages(u"insert"_s).isEmpty());
    }

    void loadSendsAtMostTwentyRecentSummaries_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("sent");
        QTest::newRow("25 items") << 25 << 20;
        QTest::newRow("3 items") << 3 << 3;
    }

    void loadSendsAtMostTwentyRecentSummaries()
    {
        QFETCH(int, stored);
        QFETCH(int, sent);
        QList<PBContentPtr> newestFirst;
        for (int i = 0; i < stored; ++i) {
            newestFirst.prepend(textItem(QString::number(i), 1.7e9 + i));
            insert(newestFirst.first());
        }
        load();
        const auto responses = m_channel->messages(u"response.update.recent"_s);
        QCOMPARE(responses.size(), 1);
        QCOMPARE(uuidsIn(responses.first()), uuidsOf(newestFirst.first(sent)));
    }

    void summaryTellsAMissingApplicationFromAnEmptyOne()
    {
        {
            SqliteDatabase db;
            QVERIFY(db.open(m_store->manager->dbPath()));
            QVERIFY(db.execute(QStringLiteral(
                "INSERT INTO pb_items (uuid, date, title, type, pb_type, data, app, marked, "
                "keyword) VALUES ('EMPTY', 2, '', 0, 'public.utf8-plain-text', '', '', 0, 'a'), "
                "('NULL', 1, '', 0, 'public.utf8-plain-text', '', NULL, 0, 'b')")));
        }
        load();
        const QJsonArray sent = m_channel->messages(u"response.update.recent"_s).last().toArray();
        QCOMPARE(sent[0].toObject().value(u"app"_s), QJsonValue(QString()));
        QCOMPARE(sent[1].toObject().value(u"app"_s), QJsonValue(QJsonValue::Null));
    }

    // Every item given whose row is gone afterwards, one already gone included; a deletion of
    // nothing is told too.
    void deletionIsAnnouncedWithTheItemsGiven_data()
    {
        QTest::addColumn<bool>("withItems");
        QTest::newRow("two items, one row already gone") << true;
        QTest::newRow("no item") << false;
    }

    void deletionIsAnnouncedWithTheItemsGiven()
    {
        QFETCH(bool, withItems);
        const PBContentPtr gone = textItem(u"gone"_s, 1.7e9);
        const PBContentPtr kept = textItem(u"kept"_s, 1.7e9 + 1);
        insert(gone);
        insert(kept);
        {
            SqliteDatabase db;
            QVERIFY(db.open(m_store->manager->dbPath()));
            QVERIFY(db.execute(u"DELETE FROM pb_items WHERE uuid='%1'"_s.arg(gone->uuid())));
        }
        const QList<PBContentPtr> given =
            withItems ? QList<PBContentPtr>{gone, kept} : QList<PBContentPtr>();
        bool deleted = false;
        m_store->manager->deletePbContents(given, [&deleted] { deleted = true; });
        QTRY_VERIFY(deleted);
        const auto messages = m_channel->messages(u"delete"_s);
        QCOMPARE(messages.size(), 1);
        QCOMPARE(uuidsIn(messages.first()), uuidsOf(given));
    }

    void markingIsAnnouncedWithTheMarkedSummaries()
    {
        const PBContentPtr older = textItem(u"older"_s, 1.7e9);
        const PBContentPtr newer = textItem(u"newer"_s, 1.7e9 + 1);
        insert(older);
        insert(newer);
        int done = 0;
        m_store->manager->updateFavorite({newer, older}, true, [&done] { ++done; });
        m_store->manager->updateFavorite({older}, true, [&done] { ++done; });
        // A marking that stores no mark tells nothing.
        m_store->manager->updateFavorite({}, false, [&done] { ++done; });
        QTRY_COMPARE(done, 3);
        const auto marks = m_channel->messages(u"mark"_s);
        QCOMPARE(marks.size(), 2);
        QCOMPARE(uuidsIn(marks.first()), uuidsOf({newer, older}));
        QVERIFY(marks.first().toArray().first().toObject()[u"marked"_s].toBool());
    }

    // A pass that prunes by duration or by number while the application runs tells the recent
    // items once the lists have lost what it pruned; one at termination, or under the other
    // settings, tells nothing.
    void retentionPassTellsTheRecentItems_data()
    {
        QTest::addColumn<SettingsModel::SaveMode>("saveMode");
        QTest::addColumn<bool>("terminating");
        QTest::addColumn<bool>("told");
        using SaveMode = SettingsModel::SaveMode;
        QTest::newRow("by duration") << SaveMode::ByDuration << false << true;
        QTest::newRow("by number") << SaveMode::ByNumber << false << true;
        QTest::newRow("by duration, terminating") << SaveMode::ByDuration << true << false;
        QTest::newRow("clear when exiting, terminating")
            << SaveMode::ClearWhenExiting << true << false;
        QTest::newRow("manually") << SaveMode::Manual << false << false;
    }

    void retentionPassTellsTheRecentItems()
    {
        QFETCH(SettingsModel::SaveMode, saveMode);
        QFETCH(bool, terminating);
        QFETCH(bool, told);
        const PBContentPtr kept = textItem(u"kept"_s, m_store->clock.time);
        insert(textItem(u"old"_s, m_store->clock.time - 1e7));
        insert(kept);
        m_store->settings.setSaveMode(saveMode);
        m_store->settings.setSaveCount(0);
        QTest::ignoreMessage(QtInfoMsg, QRegularExpression(u"delete data count"_s));
        m_retention->syncClearContents(terminating);
        QCoreApplication::processEvents();
        const auto recent = m_channel->messages(u"response.update.recent"_s);
        QCOMPARE(recent.size(), told ? 1 : 0);
        if (told)
            QCOMPARE(uuidsIn(recent.first()), uuidsOf(m_store->manager->recentItems()));
    }

private:
    static QJsonValue copyRequest(const QString& uuid, const QString& reply)
    {
        return QJsonObject{{u"uuid"_s, uuid}, {u"reply"_s, reply}};
    }

    void insert(const PBContentPtr& item)
    {
        std::optional<bool> written;
        m_store->manager->insertPbContent(item, [&written](bool ok) { written = ok; });
        QTRY_VERIFY(written.has_value());
        QVERIFY(*written);
    }

    void load()
    {
        bool loaded = false;
        m_store->manager->fetchAllItems([&loaded] { loaded = true; });
        QTRY_VERIFY(loaded);
    }

    std::unique_ptr<StoreFixture> m_store;
    std::unique_ptr<RecordingChannel> m_channel;
    std::unique_ptr<Retention> m_retention;
    std::unique_ptr<CompanionEndpoint> m_endpoint;
};

QTEST_GUILESS_MAIN(TestCompanionEndpoint)
#include "tst_companionendpoint.moc"
