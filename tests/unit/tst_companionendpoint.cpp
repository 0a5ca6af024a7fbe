#include "StoreFixture.h"
#include "item/PBTextContent.h"
#include "shell/CompanionEndpoint.h"

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
} // namespace

class TestCompanionEndpoint : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_store = std::make_unique<StoreFixture>();
        m_endpoint = std::make_unique<CompanionEndpoint>(m_store->channel, *m_store->manager,
                                                         m_store->watcher);
    }

    void cleanup()
    {
        m_endpoint.reset();
        m_store.reset();
    }

    void launchIsAnnouncedAndRequestsAreAnswered()
    {
        RecordingChannel& channel = m_store->channel;
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

        m_store->channel.deliver(QStringLiteral("copy"), copyRequest(item->uuid(), u"t1"_s));
        QCOMPARE(m_store->pasteboard.changeCount(), before + 1);
        QVERIFY(m_store->watcher.ignoreNextCopy());
        const PasteboardItem written = m_store->pasteboard.pasteboardItems().first();
        QCOMPARE(written.types(), types.first(payloadCount));
        QCOMPARE(written.dataForType(QStringLiteral("public.html")), QByteArray("<b>copy me</b>"));
        const QJsonObject answer{{u"uuid"_s, item->uuid()}, {u"copied"_s, true}};
        QCOMPARE(m_store->channel.messages(u"response.copy.t1"_s), QList<QJsonValue>{answer});
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
        m_store->channel.deliver(QStringLiteral("copy"), copyRequest(uuid, u"t2"_s));
        QCOMPARE(m_store->pasteboard.changeCount(), before);
        QVERIFY(!m_store->watcher.ignoreNextCopy());
        const QJsonObject answer{{u"uuid"_s, uuid}, {u"copied"_s, false}, {u"error"_s, error}};
        QCOMPARE(m_store->channel.messages(u"response.copy.t2"_s), QList<QJsonValue>{answer});
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
        m_store->channel.deliver(QStringLiteral("copy"), message);
        QCOMPARE(m_store->pasteboard.changeCount(), before);
        QVERIFY(!m_store->watcher.ignoreNextCopy());
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
    std::unique_ptr<CompanionEndpoint> m_endpoint;
};

QTEST_GUILESS_MAIN(TestCompanionEndpoint)
#include "tst_companionendpoint.moc"
