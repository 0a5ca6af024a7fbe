#include "RecordingChannel.h"
#include "StoreFixture.h"
#include "item/PBFileContent.h"
#include "item/PBImageContent.h"
#include "item/PBTextContent.h"
#include "item/PBURLContent.h"
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

// An item of the kind named by the first letter of its keyword: t text, u URL, f file, i image;
// a capital marks it.
PBContentPtr itemOfKind(const QString& keyword, double date)
{
    PBContentPtr item;
    switch (keyword.at(0).toLower().unicode()) {
    case 'u':
        item = PBContent::createInstance<PBURLContent>();
        break;
    case 'f':
        item = PBContent::createInstance<PBFileContent>();
        break;
    case 'i':
        item = PBContent::createInstance<PBImageContent>();
        break;
    default:
        item = PBContent::createInstance<PBTextContent>();
    }
    item->setKeyword(keyword);
    item->setPasteboardTypes({QStringLiteral("public.utf8-plain-text")});
    item->setDataArray({keyword.toUtf8()});
    item->setDataPathArray(QStringList{QStringLiteral("/nowhere/") + item->uuid()});
    item->marked = keyword.at(0).isUpper();
    item->date = date;
    return item;
}

QStringList descsIn(const QJsonValue& summaries)
{
    QStringList descs;
    for (const QJsonValue& summary : summaries.toArray())
        descs << summary.toObject()[QStringLiteral("desc")].toString();
    return descs;
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

    // Until the first load the lists are not the history: the answer comes from the table, as
    // the load then lists it, and the load's end tells it once more.
    void recentRequestBeforeTheFirstLoadIsAnsweredFromTheTable()
    {
        QList<PBContentPtr> newestFirst;
        for (int i = 0; i < 25; ++i) {
            newestFirst.prepend(textItem(QString::number(i), 1.7e9 + i % 5));
            insert(newestFirst.first());
        }
        QVERIFY(!m_store->manager->isLoaded());
        m_channel->deliver(u"request.update.recent"_s, QJsonValue(u""_s));
        const auto answered = m_channel->messages(u"response.update.recent"_s);
        QCOMPARE(answered.size(), 1);
        QTRY_VERIFY(m_store->manager->isLoaded());
        const auto responses = m_channel->messages(u"response.update.recent"_s);
        QCOMPARE(responses.size(), 2);
        QCOMPARE(uuidsIn(responses.first()), uuidsOf(m_store->manager->recentItems().first(20)));
        QCOMPARE(uuidsIn(responses.last()), uuidsIn(responses.first()));
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

    // The items are inserted oldest first, so newest first is the reverse of this list.
    void searchRequestIsAnsweredNewestFirstNarrowedAndCut_data()
    {
        QTest::addColumn<QJsonObject>("request");
        QTest::addColumn<QStringList>("found");

        QTest::newRow("list") << QJsonObject{}
                              << QStringList{u"u red"_s,      u"F red.txt"_s,  u"i blue"_s,
                                             u"T red wine"_s, u"t blue sky"_s, u"t red sky"_s};
        QTest::newRow("list cut") << QJsonObject{{u"limit"_s, 2}}
                                  << QStringList{u"u red"_s, u"F red.txt"_s};
        QTest::newRow("list of texts")
            << QJsonObject{{u"kind"_s, u"text"_s}}
            << QStringList{u"T red wine"_s, u"t blue sky"_s, u"t red sky"_s};
        QTest::newRow("list of marked") << QJsonObject{{u"kind"_s, u"marked"_s}}
                                        << QStringList{u"F red.txt"_s, u"T red wine"_s};
        QTest::newRow("search") << QJsonObject{{u"text"_s, u"red"_s}}
                                << QStringList{u"u red"_s, u"F red.txt"_s, u"T red wine"_s,
                                               u"t red sky"_s};
        QTest::newRow("search ignores case")
            << QJsonObject{{u"text"_s, u"RED S"_s}} << QStringList{u"t red sky"_s};
        QTest::newRow("search with wildcards")
            << QJsonObject{{u"text"_s, u"r_d%y"_s}} << QStringList{u"t red sky"_s};
        QTest::newRow("search narrowed to files")
            << QJsonObject{{u"text"_s, u"red"_s}, {u"kind"_s, u"file"_s}}
            << QStringList{u"F red.txt"_s};
        QTest::newRow("search narrowed to marked and cut")
            << QJsonObject{{u"text"_s, u"red"_s}, {u"kind"_s, u"marked"_s}, {u"limit"_s, 1}}
            << QStringList{u"F red.txt"_s};
        QTest::newRow("search of urls")
            << QJsonObject{{u"text"_s, u"e"_s}, {u"kind"_s, u"url"_s}} << QStringList{u"u red"_s};
        QTest::newRow("search finding nothing")
            << QJsonObject{{u"text"_s, u"green"_s}} << QStringList{};
        QTest::newRow("unknown kind") << QJsonObject{{u"kind"_s, u"sound"_s}} << QStringList{};
        QTest::newRow("limit zero") << QJsonObject{{u"limit"_s, 0}} << QStringList{};
    }

    void searchRequestIsAnsweredNewestFirstNarrowedAndCut()
    {
        QFETCH(QJsonObject, request);
        const QStringList keywords{u"t red sky"_s, u"t blue sky"_s, u"T red wine"_s,
                                   u"i blue"_s,    u"F red.txt"_s,  u"u red"_s};
        for (int i = 0; i < keywords.size(); ++i)
            insert(itemOfKind(keywords[i], 1000 + i));
        load();

        request.insert(u"reply"_s, u"r1"_s);
        m_channel->deliver(u"request.search"_s, request);
        QTRY_COMPARE(m_channel->messages(u"response.search.r1"_s).size(), 1);
        QTEST(descsIn(m_channel->messages(u"response.search.r1"_s).first()), "found");

        // Without a token there is nowhere to answer.
        request.remove(u"reply"_s);
        m_channel->deliver(u"request.search"_s, request);
        QTest::qWait(50);
        QCOMPARE(m_channel->messages(u"response.search.r1"_s).size(), 1);
    }

    // Two companions searching at once each get their own answer.
    void searchesSideBySideAreEachAnswered()
    {
        insert(itemOfKind(u"t alpha"_s, 1));
        insert(itemOfKind(u"t beta"_s, 2));
        m_channel->deliver(u"request.search"_s,
                           QJsonObject{{u"text"_s, u"alpha"_s}, {u"reply"_s, u"a"_s}});
        m_channel->deliver(u"request.search"_s,
                           QJsonObject{{u"text"_s, u"beta"_s}, {u"reply"_s, u"b"_s}});
        QTRY_COMPARE(m_channel->messages(u"response.search.a"_s).size(), 1);
        QTRY_COMPARE(m_channel->messages(u"response.search.b"_s).size(), 1);
        QCOMPARE(descsIn(m_channel->messages(u"response.search.a"_s).first()),
                 QStringList{u"t alpha"_s});
        QCOMPARE(descsIn(m_channel->messages(u"response.search.b"_s).first()),
                 QStringList{u"t beta"_s});
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
