#include "StoreFixture.h"
#include "StoredRows.h"
#include "item/PBTextContent.h"
#include "storage/HistorySearch.h"
#include "storage/Retention.h"
#include "storage/SearchIndex.h"
#include "support/SqliteDatabase.h"
#include "support/SqliteStatement.h"

#include <QFile>
#include <QRandomGenerator>
#include <QtTest>

namespace {
const double now = FixedClock().time;

PBContentPtr textItem(const QString& keyword, double date)
{
    auto item = PBContent::createInstance<PBTextContent>();
    item->date = date;
    item->setKeyword(keyword);
    item->setPasteboardTypes({QStringLiteral("public.utf8-plain-text")});
    item->setDataArray({keyword.toUtf8()});
    item->setDataPathArray(QStringList{QStringLiteral("/nowhere/") + item->uuid()});
    return item;
}

bool insertNow(DBManager& manager, const PBContentPtr& item)
{
    std::optional<bool> result;
    manager.insertPbContent(item, [&result](bool written) { result = written; });
    return QTest::qWaitFor([&result] { return result.has_value(); }) && *result;
}

QList<PBContentPtr> searchNow(DBManager& manager, const QString& text)
{
    std::optional<QList<PBContentPtr>> found;
    manager.searchPbItems(text, &manager,
                          [&found](const QList<PBContentPtr>& items) { found = items; });
    return QTest::qWaitFor([&found] { return found.has_value(); }) ? *found : QList<PBContentPtr>();
}

QStringList uuidsOf(const QList<PBContentPtr>& items)
{
    QStringList uuids;
    for (const PBContentPtr& item : items)
        uuids << item->uuid();
    return uuids;
}

// The oracle: the plain LIKE scan on a connection of the test's own.
QStringList likeUuids(const QString& dbPath, const QString& text)
{
    SqliteDatabase db;
    QStringList uuids;
    if (!db.open(dbPath))
        return uuids;
    SqliteStatement select(db, QStringLiteral("SELECT uuid FROM pb_items WHERE keyword LIKE '%' "
                                              "|| ? || '%' ORDER BY date DESC"));
    select.bind(1, text);
    while (select.step())
        uuids << select.text("uuid");
    return uuids;
}

// How many rows the index alone lists for one trigram; -1 on failure.
int indexedRows(const QString& dbPath, const QString& trigram)
{
    SqliteDatabase db;
    if (!db.open(dbPath))
        return -1;
    SqliteStatement select(
        db, QStringLiteral("SELECT count(*) AS n FROM pb_search WHERE pb_search MATCH ?"));
    select.bind(1, QLatin1Char('"') + trigram + QLatin1Char('"'));
    return select.step() ? int(select.integer("n")) : -1;
}

void deleteNow(DBManager& manager, const QList<PBContentPtr>& items)
{
    bool done = false;
    manager.deletePbContents(items, [&done] { done = true; });
    QVERIFY(QTest::qWaitFor([&done] { return done; }));
}

// A history as the program left it before the index: the template without the index's objects.
void writeHistoryWithoutIndex(const QString& dbPath, int rows)
{
    QFile::remove(dbPath);
    QVERIFY(QFile::copy(QStringLiteral(":/db/db.sqlite3"), dbPath));
    QVERIFY(QFile::setPermissions(dbPath, QFile::ReadOwner | QFile::WriteOwner));
    SqliteDatabase db;
    QVERIFY(db.open(dbPath));
    QVERIFY(db.execute(QStringLiteral(
        "DROP TRIGGER pb_search_insert; DROP TRIGGER pb_search_delete; DROP TRIGGER "
        "pb_search_update; DROP TABLE pb_search; DROP TABLE pb_search_backlog; BEGIN")));
    SqliteStatement insert(db,
                           QStringLiteral("INSERT INTO pb_items (uuid, date, title, type, "
                                          "pb_type, data, app, marked, keyword) VALUES(?, ?, "
                                          "'', 0, 'public.utf8-plain-text', '/x', 'app', 0, ?)"));
    for (int i = 0; i < rows; ++i) {
        insert.reset();
        const QString keyword =
            QStringLiteral("row %1 %2")
                .arg(i)
                .arg(i % 7 == 0 ? QStringLiteral("Sevenfold") : QStringLiteral("plain"));
        insert.bind(1, QStringLiteral("old-%1").arg(i)).bind(2, now - rows + i).bind(3, keyword);
        QVERIFY(insert.exec());
    }
    QVERIFY(db.execute(QStringLiteral("COMMIT")));
}

// A history of short random keywords over a few letters, so that a text of one or two characters
// matches many rows and one of three or four some; a few dates are shared by several rows. Its
// rows are written in date order, as a history usually is, or in a random one.
void writeRandomHistory(const QString& dbPath, int rows, QRandomGenerator& random, bool inDateOrder)
{
    QFile::remove(dbPath);
    QVERIFY(QFile::copy(QStringLiteral(":/db/db.sqlite3"), dbPath));
    QVERIFY(QFile::setPermissions(dbPath, QFile::ReadOwner | QFile::WriteOwner));
    SqliteDatabase db;
    QVERIFY(db.open(dbPath));
    QVERIFY(db.execute(QStringLiteral("BEGIN")));
    SqliteStatement insert(db,
                           QStringLiteral("INSERT INTO pb_items (uuid, date, title, type, "
                                          "pb_type, data, app, marked, keyword) VALUES(?, ?, "
                                          "'', ?, 'public.utf8-plain-text', '/x', 'app', ?, ?)"));
    const QString letters = QStringLiteral("abcAB é_%");
    for (int i = 0; i < rows; ++i) {
        QString keyword;
        for (int length = 2 + random.bounded(10); length > 0; --length)
            keyword += letters.at(random.bounded(int(letters.size())));
        insert.reset();
        insert.bind(1, QStringLiteral("row-%1").arg(i))
            .bind(2, inDateOrder ? now - (rows - i) / 2 : now - random.bounded(rows / 2))
            .bind(3, qint64(random.bounded(4)))
            .bind(4, qint64(random.bounded(10) == 0))
            .bind(5, keyword);
        QVERIFY(insert.exec());
    }
    QVERIFY(db.execute(QStringLiteral("COMMIT")));
}

// Every batch of one streamed search, as handed over.
struct Stream
{
    QList<QList<PBContentPtr>> batches;
    bool ended = false;
};

Stream streamNow(DBManager& manager, const QString& text)
{
    auto stream = std::make_shared<Stream>();
    manager.streamSearch(text, &manager,
                         [&manager, stream](const QList<ListedRow>& batch, bool last) {
                             QVERIFY(!stream->ended);
                             QList<PBContentPtr> items;
                             for (const ListedRow& row : batch)
                                 items.append(manager.objectFor(row));
                             stream->batches.append(items);
                             stream->ended = last;
                         });
    (void)QTest::qWaitFor([stream] { return stream->ended; });
    return *stream;
}
} // namespace

class TestSearchIndex : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_store = std::make_unique<StoreFixture>();
        m_manager = m_store->manager.get();
    }

    void cleanup() { m_store.reset(); }

    void searchFindsExactlyWhatLikeFinds_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("indexed");
        QTest::newRow("mixed case") << QStringLiteral("hElLo") << true;
        QTest::newRow("whole keyword") << QStringLiteral("Hello World") << true;
        QTest::newRow("non-ASCII is not folded") << QStringLiteral("WÖR") << true;
        QTest::newRow("non-ASCII as stored") << QStringLiteral("wör") << true;
        QTest::newRow("Greek capitals") << QStringLiteral("ΑΒΓ") << true;
        QTest::newRow("sharp s") << QStringLiteral("straße") << true;
        QTest::newRow("CJK") << QStringLiteral("東京タ") << true;
        QTest::newRow("emoji") << QStringLiteral("🙂🙂 s") << true;
        QTest::newRow("percent inside a run") << QStringLiteral("100%sure") << true;
        QTest::newRow("underscore inside a run") << QStringLiteral("a_b_c u") << true;
        QTest::newRow("only short runs") << QStringLiteral("a%c") << false;
        QTest::newRow("wildcards only") << QStringLiteral("_%_") << false;
        QTest::newRow("apostrophe") << QStringLiteral("it's") << true;
        QTest::newRow("double quotes") << QStringLiteral("\"twice\"") << true;
        QTest::newRow("two characters") << QStringLiteral("ab") << false;
        QTest::newRow("one character") << QStringLiteral("x") << false;
        QTest::newRow("one non-ASCII character") << QStringLiteral("é") << false;
        QTest::newRow("NUL") << QString::fromUtf8("nul\0side", 8) << false;
        QTest::newRow("no such text") << QStringLiteral("nowhere at all") << true;
        QTest::newRow("rows written out of date order") << QStringLiteral("restored") << true;
        QTest::newRow("three letters") << QStringLiteral("eLL") << true;
        QTest::newRow("three with a space") << QStringLiteral("o W") << true;
        QTest::newRow("the Kelvin sign is not k") << QStringLiteral("KAT") << true;
        QTest::newRow("the long s is not s") << QStringLiteral("uns") << true;
    }

    void searchFindsExactlyWhatLikeFinds()
    {
        QFETCH(QString, text);
        QFETCH(bool, indexed);
        const QStringList keywords = {
            QStringLiteral("Hello World"), QStringLiteral("HELLO there"),
            QStringLiteral("héllo wörld"), QStringLiteral("HÉLLO WÖRLD"),
            QStringLiteral("αβγ greek"),   QStringLiteral("ΑΒΓ GREEK"),
            QStringLiteral("Straße"),      QStringLiteral("STRASSE"),
            QStringLiteral("東京タワー"),  QStringLiteral("emoji 🙂🙂 smile"),
            QStringLiteral("100% sure"),   QStringLiteral("100%sure"),
            QStringLiteral("a_b_c under"), QStringLiteral("aXbYc under"),
            QStringLiteral("it's quoted"), QStringLiteral("say \"twice\""),
            QStringLiteral("ab"),          QStringLiteral("x"),
            QStringLiteral("café"),        QString::fromUtf8("nul\0side", 8),
            QStringLiteral("cab ABC"),     QStringLiteral("\u212Aat kelvin"),
            QStringLiteral("KAT kat"),     QStringLiteral("run\u017F long"),
            QStringLiteral("RUNS runs")};
        bool loaded = false;
        m_manager->fetchAllItems([&loaded] { loaded = true; });
        QVERIFY(QTest::qWaitFor([&loaded] { return loaded; }));
        for (qsizetype i = 0; i < keywords.size(); ++i)
            QVERIFY(insertNow(*m_manager, textItem(keywords[i], now - 100 + i)));
        QVERIFY(m_manager->searchIndexComplete());
        QCOMPARE(SearchIndex::matchExpression(text).has_value(), indexed);
        // Rows written in date order are read by their rowids (and, for three letters the index
        // finds alone, from the index only).
        QVERIFY(m_manager->rowIdsInDateOrder());
        QCOMPARE(uuidsOf(searchNow(*m_manager, text)), likeUuids(m_manager->dbPath(), text));
        // The history opened anew, so that the rows the index folds unlike LIKE are found in the
        // table (after a first search needed them), then with more of them written since.
        m_store->manager.reset();
        m_store->manager = m_store->makeManager(m_store->folder.path());
        m_manager = m_store->manager.get();
        loaded = false;
        m_manager->fetchAllItems([&loaded] { loaded = true; });
        QVERIFY(QTest::qWaitFor([&loaded] { return loaded; }));
        QVERIFY(m_manager->rowIdsInDateOrder());
        for (int round = 0; round < 2; ++round)
            QCOMPARE(uuidsOf(searchNow(*m_manager, text)), likeUuids(m_manager->dbPath(), text));
        QVERIFY(insertNow(*m_manager, textItem(QStringLiteral("\u212AAT later"), now - 70)));
        QVERIFY(insertNow(*m_manager, textItem(QStringLiteral("UN\u017F later"), now - 69)));
        QVERIFY(m_manager->rowIdsInDateOrder());
        QCOMPARE(uuidsOf(searchNow(*m_manager, text)), likeUuids(m_manager->dbPath(), text));

        // As an imported or restored history, or a clock set back, leaves them: neither the
        // order they were written in nor its reverse is the order by date.
        for (const double date : {now - 150, now - 50, now - 250})
            QVERIFY(insertNow(*m_manager, textItem(QStringLiteral("restored %1").arg(date), date)));
        QVERIFY(!m_manager->rowIdsInDateOrder());
        QCOMPARE(uuidsOf(searchNow(*m_manager, text)), likeUuids(m_manager->dbPath(), text));
    }

    void aStreamedSearchEqualsTheCompleteOne_data()
    {
        QTest::addColumn<bool>("inDateOrder");
        QTest::newRow("rows written in date order") << true;
        QTest::newRow("rows written in a random order") << false;
    }

    // The results handed over batch by batch are, put together, the complete search's: the rows
    // LIKE finds, newest first, as the lists' own objects; only the last batch may be empty.
    // Rows written in date order are read in the order of their rowids.
    void aStreamedSearchEqualsTheCompleteOne()
    {
        QFETCH(bool, inDateOrder);
        const quint32 seed = QRandomGenerator::global()->generate();
        QRandomGenerator random(seed);
        const QString seedText = QStringLiteral("seed %1").arg(seed);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("db.sqlite3"));
        writeRandomHistory(path, 4000, random, inDateOrder);
        const auto manager = m_store->makeManager(folder.path());
        bool loaded = false;
        manager->fetchAllItems([&loaded] { loaded = true; });
        QVERIFY(QTest::qWaitFor([&loaded] { return loaded; }));
        QVERIFY2(manager->searchIndexComplete(), qPrintable(seedText));
        QCOMPARE(manager->rowIdsInDateOrder(), inDateOrder);

        const QString letters = QStringLiteral("abcAB é_%x");
        for (int round = 0; round < 40; ++round) {
            QString text;
            for (int length = 1 + random.bounded(4); length > 0; --length)
                text += letters.at(random.bounded(int(letters.size())));
            const QString context = seedText + QStringLiteral(", text \"%1\"").arg(text);
            const Stream stream = streamNow(*manager, text);
            QVERIFY2(stream.ended, qPrintable(context));
            QList<PBContentPtr> found;
            for (qsizetype i = 0; i < stream.batches.size(); ++i) {
                QVERIFY2(i == stream.batches.size() - 1 || !stream.batches[i].isEmpty(),
                         qPrintable(context));
                found.append(stream.batches[i]);
            }
            const QStringList expected = likeUuids(path, text);
            QVERIFY2(uuidsOf(found) == expected, qPrintable(context));
            // A screenful comes first, then the rest.
            if (expected.size() > HistorySearch::defaultPacing.firstRows)
                QVERIFY2(stream.batches.size() > 2, qPrintable(context));
            for (const PBContentPtr& item : std::as_const(found))
                QVERIFY2(manager->recentItems().contains(item), qPrintable(context));
        }
    }

    // While the main thread is busy, a search of a word in every row hands over two batches and
    // waits: its rows are not piled up in memory. A store closed while it waits does not wait
    // for it in turn; a search taken in again ends with every row.
    void aSearchWaitsForTheMainThreadToTakeItsBatchesIn()
    {
        const quint32 seed = QRandomGenerator::global()->generate();
        QRandomGenerator random(seed);
        const QByteArray seedText = QByteArray("seed ") + QByteArray::number(seed);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("db.sqlite3"));
        // After two batches taken in and two more handed over, the search still has rows to hand.
        const int rows = int(5 * HistorySearch::defaultPacing.maxRows);
        writeRandomHistory(path, rows, random, true);
        auto manager = m_store->makeManager(folder.path());
        bool loaded = false;
        manager->fetchAllItems([&loaded] { loaded = true; });
        QVERIFY(QTest::qWaitFor([&loaded] { return loaded; }));

        const auto search = [&manager] {
            auto stream = std::make_shared<Stream>();
            manager->streamSearch(QStringLiteral("_"), manager.get(),
                                  [stream](const QList<ListedRow>& batch, bool last) {
                                      stream->batches.append(QList<PBContentPtr>(batch.size()));
                                      stream->ended = last;
                                  });
            return stream;
        };
        const auto busy = [] {
            QThread::msleep(400);
            QCoreApplication::sendPostedEvents();
        };
        const auto taken = search();
        busy();
        QVERIFY2(taken->batches.size() <= 2, seedText);
        QVERIFY2(QTest::qWaitFor([&taken] { return taken->ended; }), seedText);
        qsizetype found = 0;
        for (const QList<PBContentPtr>& batch : std::as_const(taken->batches))
            found += batch.size();
        QCOMPARE(found, rows);

        const auto left = search();
        busy();
        manager.reset();
        QVERIFY2(!left->ended, seedText);
    }

    void theIndexFollowsInsertsDeletionsRetentionAndClear()
    {
        const QString path = m_manager->dbPath();
        QList<PBContentPtr> items;
        for (int i = 0; i < 6; ++i)
            items << textItem(QStringLiteral("quokka %1").arg(i), now - (i < 2 ? 90'000 : i));
        for (const PBContentPtr& item : std::as_const(items))
            QVERIFY(insertNow(*m_manager, item));
        QCOMPARE(indexedRows(path, QStringLiteral("okk")), 6);

        deleteNow(*m_manager, {items[5]});
        QCOMPARE(indexedRows(path, QStringLiteral("okk")), 5);

        m_store->settings.setSaveMode(SettingsModel::SaveMode::ByDuration);
        m_store->settings.setSaveTime(0); // 24 hours: the two items 25 hours old go
        Retention(*m_manager, m_store->settings, m_store->clock).syncClearContents(false);
        QCOMPARE(StoredRows::count(path), 3);
        QCOMPARE(indexedRows(path, QStringLiteral("okk")), 3);

        deleteNow(*m_manager, items.mid(2, 3)); // "Clear" hands every listed item over
        QCOMPARE(indexedRows(path, QStringLiteral("okk")), 0);
        QVERIFY(insertNow(*m_manager, textItem(QStringLiteral("quokka again"), now)));
        QCOMPARE(uuidsOf(searchNow(*m_manager, QStringLiteral("okka"))),
                 likeUuids(path, QStringLiteral("okka")));
        QCOMPARE(indexedRows(path, QStringLiteral("okk")), 1);
    }

    void anOldHistoryIsSearchableAtOnceAndGainsTheIndex()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("db.sqlite3"));
        writeHistoryWithoutIndex(path, 12'000);
        const QList<QVariantMap> before = StoredRows::all(path);
        const QStringList sevenfold = likeUuids(path, QStringLiteral("sevenfold"));
        QCOMPARE(sevenfold.size(), 12'000 / 7 + 1);

        const auto manager = m_store->makeManager(folder.path());
        QCOMPARE(uuidsOf(searchNow(*manager, QStringLiteral("sevenfold"))), sevenfold);
        // Rows come and go while the index is being built, below and above its progress; the
        // new row takes the rowid of the newest one, deleted just before.
        auto oldest = std::make_shared<PBTextContent>();
        oldest->setUuid(QStringLiteral("old-0"));
        auto newest = std::make_shared<PBTextContent>();
        newest->setUuid(QStringLiteral("old-11999"));
        deleteNow(*manager, {oldest, newest});
        QVERIFY(insertNow(*manager, textItem(QStringLiteral("added Sevenfold"), now + 1)));

        QTRY_VERIFY_WITH_TIMEOUT(manager->searchIndexComplete(), 60'000);
        const QStringList expected = likeUuids(path, QStringLiteral("sevenfold"));
        QCOMPARE(expected.size(), sevenfold.size());
        QCOMPARE(uuidsOf(searchNow(*manager, QStringLiteral("sevenfold"))), expected);
        QCOMPARE(indexedRows(path, QStringLiteral("fol")), expected.size());
        QCOMPARE(indexedRows(path, QStringLiteral("row")), 12'000 - 2);
        QList<QVariantMap> after = StoredRows::all(path);
        after.removeFirst(); // the added row
        QCOMPARE(after, before.mid(1, before.size() - 2));
    }

    void searchResultsAreTheListsOwnObjects()
    {
        for (int i = 0; i < 9; ++i) // two rows share each date
            QVERIFY(
                insertNow(*m_manager, textItem(QStringLiteral("shared %1").arg(i), now + i / 2)));
        const QList<PBContentPtr> found = searchNow(*m_manager, QStringLiteral("shared"));
        QCOMPARE(found.size(), 9);
        for (const PBContentPtr& item : found)
            QVERIFY2(m_manager->recentItems().contains(item), qPrintable(item->keyword()));
    }

private:
    std::unique_ptr<StoreFixture> m_store;
    DBManager* m_manager = nullptr;
};

QTEST_GUILESS_MAIN(TestSearchIndex)
#include "tst_searchindex.moc"
