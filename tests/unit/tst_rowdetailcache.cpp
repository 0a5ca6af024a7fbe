#include "StoreFixture.h"
#include "StoredRows.h"
#include "item/ContentDetails.h"
#include "item/ItemUuid.h"
#include "item/PBTextContent.h"
#include "storage/DBManager.h"
#include "storage/RowDetailCache.h"
#include "support/SqliteDatabase.h"
#include "support/SqliteStatement.h"

#include <QtTest>

using namespace Qt::StringLiterals;

namespace {
// Rows as another program might have left them: any uuid text, NULL columns, equal dates.
void insertRow(const QString& dbPath, const QString& uuid, const QVariant& date,
               const QString& keyword, const QString& app)
{
    SqliteDatabase db;
    QVERIFY(db.open(dbPath));
    SqliteStatement statement(db, QStringLiteral("INSERT INTO pb_items (uuid, date, title, type, "
                                                 "pb_type, data, app, marked, keyword) VALUES(?, "
                                                 "?, NULL, 0, 'a|b', ?, ?, 0, ?)"));
    statement.bind(1, uuid).bindText(3, "/data/" + uuid.toUtf8()).bind(4, app).bind(5, keyword);
    if (date.isNull())
        statement.bindNull(2);
    else
        statement.bind(2, date.toDouble());
    QVERIFY2(statement.exec(), qPrintable(statement.errorText()));
}

void loadNow(DBManager& manager)
{
    bool done = false;
    manager.fetchAllItems([&done] { done = true; });
    QVERIFY(QTest::qWaitFor([&done] { return done; }));
}
} // namespace

class TestRowDetailCache : public QObject
{
    Q_OBJECT

private slots:
    void uuidTextComesBackExactly_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("usual form") << QStringLiteral("0F8E3A4C-1B2D-4E5F-8A9B-0C1D2E3F4A5B");
        QTest::newRow("lower case") << QStringLiteral("0f8e3a4c-1b2d-4e5f-8a9b-0c1d2e3f4a5b");
        QTest::newRow("braces") << QStringLiteral("{0F8E3A4C-1B2D-4E5F-8A9B-0C1D2E3F4A5B}");
        QTest::newRow("usual length, not hex")
            << QStringLiteral("0F8E3A4C-1B2D-4E5F-8A9B-0C1D2E3F4AZZ");
        QTest::newRow("usual length, non-Latin-1")
            << QStringLiteral("0F8E3A4C-1B2D-4E5F-8A9B-0C1D2E3F4A\u4E2D\u6587");
        QTest::newRow("any text") << QStringLiteral("row-7");
        QTest::newRow("empty") << QStringLiteral("");
    }

    void uuidTextComesBackExactly()
    {
        QFETCH(QString, text);
        const ItemUuid fromText = ItemUuid::fromString(text);
        const ItemUuid fromColumn = ItemUuid::fromUtf8(text.toUtf8());
        QCOMPARE(fromText.toString(), text);
        QCOMPARE(fromColumn, fromText);
        QCOMPARE(qHash(fromColumn, 7), qHash(fromText, 7));
        QCOMPARE(fromText.isEmpty(), text.isEmpty());
        QVERIFY(!(fromText == ItemUuid::fromString(text + u'0')));
    }

    void keepsAtMostItsLimitsAndReadsEvictedRowsAgain()
    {
        StoreFixture store;
        const QString path = store.manager->dbPath();
        for (int i = 0; i < 6; ++i)
            insertRow(path, QStringLiteral("row-%1").arg(i), i, QString(100, QChar(u'a' + i)),
                      QStringLiteral("app"));
        const qsizetype oneRow =
            ContentDetails{QString(), {u"a"_s, u"b"_s}, u"app"_s, QString(100, u'a'), "/data/row-0"}
                .cost();
        RowDetailCache byRows(path, {3, 1 << 20});
        RowDetailCache byBytes(path, {100, 2 * oneRow});
        for (int round = 0; round < 2; ++round) {
            for (int i = 0; i < 6; ++i) {
                const ItemUuid uuid = ItemUuid::fromString(QStringLiteral("row-%1").arg(i));
                for (const RowDetailCache* cache : {&byRows, &byBytes}) {
                    const auto details = cache->readDetails(uuid);
                    QVERIFY(details);
                    QCOMPARE(details->keyword, QString(100, QChar(u'a' + i)));
                    QCOMPARE(details->pasteboardTypes, QStringList({u"a"_s, u"b"_s}));
                    QVERIFY(details->title.isNull());
                }
            }
        }
        QCOMPARE(byRows.keptRows(), 3);
        QCOMPARE(byBytes.keptRows(), 2);
        QVERIFY(byBytes.keptBytes() <= 2 * oneRow);
        QVERIFY(!byRows.readDetails(ItemUuid::fromString(u"no such row"_s)));
    }

    // A row read again is kept over rows read before it and not since: the row that goes first
    // is the least recently used, not the first kept.
    void aRowReadAgainOutlastsRowsNotReadSince_data()
    {
        QTest::addColumn<bool>("boundByBytes");
        QTest::newRow("bound by rows") << false;
        QTest::newRow("bound by bytes") << true;
    }

    void aRowReadAgainOutlastsRowsNotReadSince()
    {
        QFETCH(bool, boundByBytes);
        StoreFixture store;
        const QString path = store.manager->dbPath();
        for (const QString& uuid : {u"row-a"_s, u"row-b"_s, u"row-c"_s})
            insertRow(path, uuid, 1.0, QString(100, u'k'), u"app"_s);
        const qsizetype oneRow =
            RowDetailCache(path).readDetails(ItemUuid::fromString(u"row-a"_s))->cost();
        RowDetailCache cache(path, boundByBytes ? RowDetailCache::Limits{100, 2 * oneRow}
                                                : RowDetailCache::Limits{2, 1 << 20});
        for (const QString& uuid : {u"row-a"_s, u"row-b"_s, u"row-a"_s, u"row-c"_s})
            QVERIFY(cache.readDetails(ItemUuid::fromString(uuid)));
        QCOMPARE(cache.keptRows(), 2);
        // With the rows gone, only what the cache kept can still be read.
        SqliteDatabase db;
        QVERIFY(db.open(path));
        QVERIFY(db.execute(u"DELETE FROM pb_items"_s));
        QVERIFY(cache.readDetails(ItemUuid::fromString(u"row-a"_s)));
        QVERIFY(cache.readDetails(ItemUuid::fromString(u"row-c"_s)));
        QVERIFY(!cache.readDetails(ItemUuid::fromString(u"row-b"_s)));
    }

    // The lists hold no details: what a window or the companion reads of a listed item is its
    // row's, and the order is the date index's, equal dates the last written first.
    void listedItemsReadTheirRowsAndKeepTheDateOrder_data()
    {
        QTest::addColumn<bool>("fromBeforeTheIndex");
        QTest::newRow("history with the load's index") << false;
        QTest::newRow("history from before the index") << true;
    }

    void listedItemsReadTheirRowsAndKeepTheDateOrder()
    {
        QFETCH(bool, fromBeforeTheIndex);
        StoreFixture store;
        const QString path = store.manager->dbPath();
        insertRow(path, u"undated"_s, QVariant(), u"u"_s, QString());
        insertRow(path, u"old"_s, 1.0, u"o"_s, u"org.example.A"_s);
        insertRow(path, u"tie-b-written-first"_s, 5.0, u"t1"_s, QString());
        insertRow(path, u"0F8E3A4C-1B2D-4E5F-8A9B-0C1D2E3F4A5B"_s, 9.0, u"n"_s, u""_s);
        insertRow(path, u"tie-a-written-second"_s, 5.0, u"t2"_s, u"org.example.B"_s);
        if (fromBeforeTheIndex) {
            store.manager.reset();
            SqliteDatabase db;
            QVERIFY(db.open(path));
            QVERIFY(db.execute(u"DROP INDEX pb_items_listed"_s));
            store.manager = store.makeManager(store.folder.path());
        }
        loadNow(*store.manager);
        SqliteDatabase db;
        QVERIFY(db.open(path));
        SqliteStatement index(db, u"SELECT 1 FROM sqlite_master WHERE name='pb_items_listed'"_s);
        QVERIFY(index.step());

        const QList<QVariantMap> rows = StoredRows::all(path);
        const QList<PBContentPtr>& listed = store.manager->recentItems();
        QStringList order;
        for (const PBContentPtr& item : listed)
            order << item->uuid();
        QCOMPARE(order,
                 QStringList({u"0F8E3A4C-1B2D-4E5F-8A9B-0C1D2E3F4A5B"_s, u"tie-a-written-second"_s,
                              u"tie-b-written-first"_s, u"old"_s, u"undated"_s}));
        for (qsizetype i = 0; i < listed.size(); ++i) {
            const auto row = std::find_if(rows.cbegin(), rows.cend(), [&](const QVariantMap& r) {
                return r.value(u"uuid"_s) == listed[i]->uuid();
            });
            QVERIFY(row != rows.cend());
            QCOMPARE(listed[i]->keyword(), row->value(u"keyword"_s).toString());
            QCOMPARE(listed[i]->app(), row->value(u"app"_s).toString());
            QCOMPARE(listed[i]->app().isNull(), row->value(u"app"_s).toString().isNull());
            QCOMPARE(listed[i]->joinedDataPaths(), row->value(u"data"_s).toString().toUtf8());
            QCOMPARE(listed[i]->contentExtension().desc, row->value(u"keyword"_s).toString());
        }
    }

    // A deletion's items are still read after their rows are gone: for the companion's message
    // and the windows that still show them.
    void deletedItemsKeepTheirDetails()
    {
        StoreFixture store;
        auto item = PBContent::createInstance<PBTextContent>();
        item->setKeyword(u"kept"_s);
        item->setPasteboardTypes({u"public.utf8-plain-text"_s});
        item->setDataArray({"kept"});
        item->setDataPathArray(QStringList{u"/nowhere/kept.txt"_s});
        bool written = false;
        store.manager->insertPbContent(item, [&written](bool ok) { written = ok; });
        QTRY_VERIFY(written);
        loadNow(*store.manager);
        const PBContentPtr listed = store.manager->recentItems().value(0);
        QVERIFY(listed && listed != item);
        bool deleted = false;
        store.manager->deletePbContents({listed}, [&deleted] { deleted = true; });
        QTRY_VERIFY(deleted);
        QCOMPARE(StoredRows::count(store.manager->dbPath()), 0);
        RowDetailCache fresh(store.manager->dbPath());
        QVERIFY(!fresh.readDetails(listed->itemUuid()));
        QCOMPARE(listed->keyword(), u"kept"_s);
        QCOMPARE(listed->joinedDataPaths(), QByteArray("/nowhere/kept.txt"));
    }
};

QTEST_GUILESS_MAIN(TestRowDetailCache)
#include "tst_rowdetailcache.moc"
