#include "StoreFixture.h"
#include "StoredRows.h"
#include "item/PBContent.h"
#include "item/PBFileContent.h"
#include "item/PBImageContent.h"
#include "item/PBTextContent.h"
#include "storage/DBManager.h"
#include "storage/Retention.h"
#include "support/SqliteDatabase.h"
#include "support/SqliteStatement.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>
#include <csignal>
#include <sys/resource.h>

namespace {
constexpr double someDate = 1.7e9;

std::shared_ptr<PBContent> textItem(const QString& keyword, double date = someDate)
{
    auto item = PBContent::createInstance<PBTextContent>();
    item->date = date;
    item->setKeyword(keyword);
    item->setApp(QStringLiteral("org.example.App"));
    item->setPasteboardTypes({QStringLiteral("public.utf8-plain-text")});
    item->setDataArray({keyword.toUtf8()});
    item->setDataPathArray(
        QStringList{QStringLiteral("/nowhere/") + item->uuid() + QStringLiteral(".txt")});
    return item;
}

// Writes a row as another version of the program (or a hand edit) might have left it.
void insertRaw(const QString& dbPath, const QString& uuid, double date, qint64 type,
               const QString& data, bool marked = false)
{
    SqliteDatabase db;
    QVERIFY(db.open(dbPath));
    SqliteStatement statement(db, QStringLiteral("INSERT INTO pb_items (uuid, date, title, type, "
                                                 "pb_type, data, app, marked, keyword) VALUES(?, "
                                                 "?, '', ?, 'public.utf8-plain-text', ?, 'app', "
                                                 "?, 'raw')"));
    statement.bind(1, uuid).bind(2, date).bind(3, type).bind(4, data).bind(5, qint64(marked));
    QVERIFY2(statement.exec(), qPrintable(statement.errorText()));
}

bool insertNow(DBManager& manager, const PBContentPtr& item)
{
    std::optional<bool> result;
    manager.insertPbContent(item, [&result](bool written) { result = written; });
    if (!QTest::qWaitFor([&result] { return result.has_value(); }))
        return false;
    return *result;
}

void loadNow(DBManager& manager)
{
    bool done = false;
    manager.fetchAllItems([&done] { done = true; });
    QVERIFY(QTest::qWaitFor([&done] { return done; }));
}

QList<PBContentPtr> searchNow(DBManager& manager, const QString& text)
{
    std::optional<QList<PBContentPtr>> found;
    manager.searchPbItems(text, &manager,
                          [&found](const QList<PBContentPtr>& items) { found = items; });
    if (!QTest::qWaitFor([&found] { return found.has_value(); }))
        return {};
    return *found;
}

QStringList uuidsOf(const QList<PBContentPtr>& items)
{
    QStringList uuids;
    for (const PBContentPtr& item : items)
        uuids << item->uuid();
    return uuids;
}

// While it lives, no file of this process grows past `bytes`, and a write that would make it
// fails as on a full disk (SIGXFSZ ignored, so the process lives on).
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_savedHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit tight = m_saved;
        tight.rlim_cur = bytes;
        m_set = setrlimit(RLIMIT_FSIZE, &tight) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_savedHandler);
    }
    bool isSet() const { return m_set; }

private:
    rlimit m_saved{};
    void (*m_savedHandler)(int) = nullptr;
    bool m_set = false;
};

} // namespace

class TestDBManager : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_store = std::make_unique<StoreFixture>();
        m_manager = m_store->manager.get();
    }

    void cleanup() { m_store.reset(); }

    void missingDatabaseIsMadeFromTheTemplate()
    {
        QVERIFY(QFile::exists(m_manager->dbPath()));
        QCOMPARE(StoredRows::count(m_manager->dbPath()), 0);
        loadNow(*m_manager);
        QVERIFY(m_manager->recentItems().isEmpty());
        QCOMPARE(m_manager->count(Category::Recents).value(), 0);
    }

    void insertedItemLeadsItsLists()
    {
        auto older = textItem(QStringLiteral("older"));
        auto image = PBContent::createInstance<PBImageContent>();
        image->setPasteboardTypes({QStringLiteral("public.png")});
        image->setDataArray({QByteArray("png")});
        image->setDataPathArray(QStringList{QStringLiteral("/nowhere/x.png")});
        QVERIFY(insertNow(*m_manager, older));
        QVERIFY(insertNow(*m_manager, image));

        QCOMPARE(m_manager->recentItems(), QList<PBContentPtr>({image, older}));
        QCOMPARE(m_manager->items(Category::Image), QList<PBContentPtr>({image}));
        QCOMPARE(m_manager->items(Category::Text), QList<PBContentPtr>({older}));
        QCOMPARE(m_manager->count(Category::Image).value(), 1);
        QCOMPARE(m_manager->count(Category::Recents).value(), 2);
    }

    void insertingSameItemTwiceIsRefusedWithListsUnchanged()
    {
        auto item = textItem(QStringLiteral("once"));
        QVERIFY(insertNow(*m_manager, item));
        bool called = false;
        m_manager->insertPbContent(item, [&called](bool written) {
            called = true;
            QVERIFY(!written);
        });
        QVERIFY2(called, "a refusal answers at once, on the caller's thread");
        QCoreApplication::processEvents();
        QCOMPARE(m_manager->recentItems().size(), 1);
        QCOMPARE(StoredRows::count(m_manager->dbPath()), 1);
    }

    void incompleteItemsAreRefused_data()
    {
        QTest::addColumn<int>("defect");
        QTest::newRow("no uuid") << 0;
        QTest::newRow("date 0") << 1;
        QTest::newRow("no payloads") << 2;
    }

    void incompleteItemsAreRefused()
    {
        QFETCH(int, defect);
        auto item = PBContent::createInstance<PBTextContent>();
        item->setKeyword(QStringLiteral("k"));
        item->setPasteboardTypes({QStringLiteral("public.utf8-plain-text")});
        item->setDataArray({QByteArray("k")});
        if (defect == 0)
            item->setUuid(QString());
        if (defect == 1)
            item->date = 0;
        if (defect == 2)
            item = [] {
                auto bare = PBContent::createInstance<PBTextContent>();
                bare->setPasteboardTypes({QStringLiteral("public.utf8-plain-text")});
                return bare;
            }();
        std::optional<bool> result;
        m_manager->insertPbContent(item, [&result](bool written) { result = written; });
        QCOMPARE(result, std::optional<bool>(false));
        QCOMPARE(StoredRows::count(m_manager->dbPath()), 0);
    }

    void awkwardTextsAreStoredExactlyAndFoundAgain_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("apostrophe") << QStringLiteral("don't");
        QTest::newRow("double quotes") << QStringLiteral("say \"hi\"");
        QTest::newRow("percent and underscore") << QStringLiteral("100% of a_b");
        QTest::newRow("NUL byte") << QString::fromUtf8("nul\0inside", 10);
        QTest::newRow("invalid UTF-8") << QString::fromUtf8("bad \xff\xfe bytes");
        QTest::newRow("sql") << QStringLiteral("'); DROP TABLE pb_items; --");
        QTest::newRow("separator-free unicode") << QStringLiteral("naïve 東京 🙂");
    }

    void awkwardTextsAreStoredExactlyAndFoundAgain()
    {
        QFETCH(QString, text);
        auto item = textItem(text);
        item->setApp(text);
        item->setPasteboardTypes({text});
        QVERIFY(insertNow(*m_manager, item));

        loadNow(*m_manager);
        QCOMPARE(m_manager->recentItems().size(), 1);
        const PBContentPtr loaded = m_manager->recentItems().first();
        QCOMPARE(loaded->keyword(), text);
        QCOMPARE(loaded->app(), text);
        QCOMPARE(loaded->pasteboardTypes(), QStringList{text});
        QCOMPARE(loaded->uuid(), item->uuid());
        QCOMPARE(loaded->date, item->date);

        const QList<PBContentPtr> found = searchNow(*m_manager, text);
        QCOMPARE(found.size(), 1);
        QCOMPARE(found.first()->uuid(), item->uuid());
        QVERIFY2(found.first() == loaded, "a listed row is found as the lists' own object");
    }

    void searchUsesLikeSemantics_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("contains, ASCII case folded")
            << QStringLiteral("ab") << QStringList{QStringLiteral("cab"), QStringLiteral("ABC")};
        QTest::newRow("underscore is a wildcard")
            << QStringLiteral("a_c") << QStringList{QStringLiteral("ABC")};
        QTest::newRow("percent is a wildcard")
            << QStringLiteral("c%b") << QStringList{QStringLiteral("cab")};
        QTest::newRow("non-ASCII is not folded") << QStringLiteral("É") << QStringList{};
        QTest::newRow("no match") << QStringLiteral("zz") << QStringList{};
    }

    void searchUsesLikeSemantics()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, expected);
        QVERIFY(insertNow(*m_manager, textItem(QStringLiteral("ABC"), someDate)));
        QVERIFY(insertNow(*m_manager, textItem(QStringLiteral("cab"), someDate + 1)));
        QVERIFY(insertNow(*m_manager, textItem(QStringLiteral("été"), someDate + 2)));
        QStringList keywords;
        for (const PBContentPtr& item : searchNow(*m_manager, text))
            keywords << item->keyword();
        QCOMPARE(keywords, expected);
    }

    // Typing fast into a list searches each text in turn: only the last text's results reach
    // that list, and another list's search goes on untouched.
    void aLaterSearchSupersedesTheSameListsEarlierOnes()
    {
        for (const QString& keyword : {QStringLiteral("apple"), QStringLiteral("apricot")})
            QVERIFY(insertNow(*m_manager, textItem(keyword, someDate + keyword.size())));
        QObject typedInto;
        QObject other;
        QStringList answered;
        std::optional<int> otherFound;
        m_manager->searchPbItems(QStringLiteral("ap"), &other,
                                 [&otherFound](const auto& items) { otherFound = items.size(); });
        for (const QString& text : {QStringLiteral("a"), QStringLiteral("ap"),
                                    QStringLiteral("apr"), QStringLiteral("apri")}) {
            m_manager->searchPbItems(text, &typedInto, [&answered, text](const auto& items) {
                answered << text + QLatin1Char(':') + QString::number(items.size());
            });
        }
        QTRY_COMPARE(answered, QStringList{QStringLiteral("apri:1")});
        QTRY_COMPARE(otherFound, std::optional<int>(2));
        // The queue runs searches in order: once this one is answered, no earlier one can be.
        m_manager->searchPbItems(QStringLiteral("apple"), &typedInto,
                                 [&answered](const auto&) { answered << QStringLiteral("apple"); });
        QTRY_COMPARE(answered, QStringList({QStringLiteral("apri:1"), QStringLiteral("apple")}));
    }

    void loadOrdersByDateAndSharesOneObjectPerItem()
    {
        const QString path = m_manager->dbPath();
        insertRaw(path, QStringLiteral("A"), someDate + 1, 0, QStringLiteral("/x/a.txt"), true);
        insertRaw(path, QStringLiteral("B"), someDate + 3, 1, QStringLiteral("/x/b.txt"));
        insertRaw(path, QStringLiteral("C"), someDate + 2, 5, QStringLiteral("/x/c.txt"));
        insertRaw(path, QStringLiteral("D"), someDate, 0, QStringLiteral(""));
        loadNow(*m_manager);

        QStringList order;
        for (const PBContentPtr& item : m_manager->recentItems())
            order << item->uuid();
        QCOMPARE(order,
                 QStringList({QStringLiteral("B"), QStringLiteral("A"), QStringLiteral("D")}));
        QCOMPARE(m_manager->items(Category::File).size(), 1);
        QCOMPARE(m_manager->items(Category::Text).size(), 2);
        QCOMPARE(m_manager->items(Category::Marked).size(), 1);
        QVERIFY(m_manager->items(Category::Marked).first() == m_manager->recentItems()[1]);
        QVERIFY(m_manager->items(Category::Text).first() == m_manager->recentItems()[1]);
        QCOMPARE(m_manager->count(Category::Marked).value(), 1);

        const PBContentPtr emptyData = m_manager->recentItems().last();
        QCOMPARE(emptyData->dataPathArray(), std::optional<QStringList>(QStringList{QString()}));
        QVERIFY(emptyData->dataArray().has_value());
        QVERIFY(emptyData->dataArray()->isEmpty());
    }

    void countsAreSetOnTheMainThreadAndObservedAtOnce()
    {
        QList<qint64> seen;
        bool offMainThread = false;
        QObject observer;
        m_manager->count(Category::Recents).observe(&observer, [&](qint64 value) {
            seen << value;
            offMainThread |= QThread::currentThread() != qApp->thread();
        });
        QCOMPARE(seen, QList<qint64>{0});
        QVERIFY(insertNow(*m_manager, textItem(QStringLiteral("one"))));
        loadNow(*m_manager);
        QCOMPARE(seen, QList<qint64>({0, 1, 1}));
        QVERIFY(!offMainThread);
    }

    void databaseThatCannotBeOpenedEndsEveryOperation()
    {
        QTemporaryDir folder;
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("db.sqlite3")));
        const auto brokenManager = m_store->makeManager(folder.path());
        DBManager& broken = *brokenManager;
        QVERIFY(!broken.isOpen());

        std::optional<bool> inserted;
        broken.insertPbContent(textItem(QStringLiteral("x")),
                               [&](bool written) { inserted = written; });
        QCOMPARE(inserted, std::optional<bool>(false));
        loadNow(broken);
        QVERIFY(broken.recentItems().isEmpty());
        QVERIFY(searchNow(broken, QStringLiteral("x")).isEmpty());
    }

    void insertsDuringLoadsAreNeverListedTwiceOrLost()
    {
        constexpr int inserts = 300;
        int loadsDone = 0;
        int written = 0;
        for (int i = 0; i < inserts; ++i) {
            if (i % 10 == 0)
                m_manager->fetchAllItems([&loadsDone] { ++loadsDone; });
            m_manager->insertPbContent(textItem(QString::number(i), someDate + i),
                                       [&written](bool ok) { written += ok; });
            if (i % 25 == 0)
                QCoreApplication::processEvents();
        }
        QTRY_COMPARE(loadsDone, inserts / 10);
        QTRY_COMPARE(written, inserts);

        QSet<QString> uuids;
        for (const PBContentPtr& item : m_manager->recentItems())
            uuids.insert(item->uuid());
        QCOMPARE(m_manager->recentItems().size(), inserts);
        QCOMPARE(uuids.size(), inserts);
        QCOMPARE(m_manager->count(Category::Recents).value(), inserts);
    }

    void deletionTakesItemsOutOfEveryListWithTheirFiles()
    {
        auto marked = textItem(QStringLiteral("marked"));
        auto plain = textItem(QStringLiteral("plain"), someDate + 1);
        for (const auto& item : {marked, plain}) {
            const auto paths = m_store->dataManager.saveDataOfContent(*item);
            QVERIFY(paths);
            item->setDataPathArray(*paths);
            QVERIFY(insertNow(*m_manager, item));
        }
        bool markDone = false;
        m_manager->updateFavorite({marked}, true, [&markDone] { markDone = true; });
        QTRY_VERIFY(markDone);
        QCOMPARE(m_manager->count(Category::Marked).value(), 1);

        bool deleted = false;
        m_manager->deletePbContents({marked}, [&deleted] { deleted = true; });
        QTRY_VERIFY(deleted);
        QCOMPARE(m_manager->recentItems(), QList<PBContentPtr>{plain});
        QVERIFY(m_manager->items(Category::Marked).isEmpty());
        QCOMPARE(m_manager->count(Category::Marked).value(), 0);
        QCOMPARE(m_manager->count(Category::Text).value(), 1);
        QVERIFY(!QFile::exists(marked->dataPathArray()->first()));
        QVERIFY(QFile::exists(plain->dataPathArray()->first()));
        QCOMPARE(StoredRows::count(m_manager->dbPath()), 1);
    }

    void deletingTwoItemsWhereOneRowIsGoneRemovesBothAndReportsBoth()
    {
        auto gone = textItem(QStringLiteral("gone"));
        auto kept = textItem(QStringLiteral("kept"), someDate + 1);
        QVERIFY(insertNow(*m_manager, gone));
        QVERIFY(insertNow(*m_manager, kept));
        {
            SqliteDatabase db;
            QVERIFY(db.open(m_manager->dbPath()));
            SqliteStatement remove(db, QStringLiteral("DELETE FROM pb_items WHERE uuid=?"));
            remove.bind(1, gone->uuid());
            QVERIFY(remove.exec());
        }
        QSignalSpy finished(m_manager, &DBManager::deletionFinished);
        bool deleted = false;
        m_manager->deletePbContents({gone, kept}, [&deleted] { deleted = true; });
        QTRY_VERIFY(deleted);
        QVERIFY(m_manager->recentItems().isEmpty());
        QCOMPARE(finished.size(), 1);
        QCOMPARE(finished.first().first().value<QList<PBContentPtr>>(),
                 QList<PBContentPtr>({gone, kept}));
    }

    void aDeletionWhoseRowStaysKeepsFilesRowAndListEntry()
    {
        auto item = textItem(QStringLiteral("kept"));
        const auto paths = m_store->dataManager.saveDataOfContent(*item);
        QVERIFY(paths);
        item->setDataPathArray(*paths);
        QVERIFY(insertNow(*m_manager, item));
        {
            SqliteDatabase db;
            QVERIFY(db.open(m_manager->dbPath()));
            QVERIFY(db.execute(QStringLiteral("CREATE TRIGGER keep BEFORE DELETE ON pb_items BEGIN "
                                              "SELECT RAISE(ABORT, 'kept'); END")));
        }
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("statement failed")));
        bool done = false;
        m_manager->deletePbContents({item}, [&done] { done = true; });
        QTRY_VERIFY(done);
        QCOMPARE(m_manager->recentItems(), QList<PBContentPtr>{item});
        QCOMPARE(m_manager->count(Category::Text).value(), 1);
        QCOMPARE(StoredRows::count(m_manager->dbPath()), 1);
        QVERIFY(QFile::exists(paths->first()));
    }

    void deletionLeavesFilesOutsideThePayloadFolderAlone()
    {
        QTemporaryDir elsewhere;
        const QString outside = elsewhere.filePath(QStringLiteral("precious.txt"));
        QFile file(outside);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        auto item = textItem(QStringLiteral("forged row"));
        item->setDataPathArray(QStringList{outside});
        QVERIFY(insertNow(*m_manager, item));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral(".")));
        m_manager->deletePbContents({item});
        QTRY_VERIFY(m_manager->recentItems().isEmpty());
        QVERIFY(QFile::exists(outside));
    }

    void markingIsStoredAndFollowedByTheMarkedListAndSummary()
    {
        auto older = textItem(QStringLiteral("older"));
        auto newer = textItem(QStringLiteral("newer"), someDate + 1);
        QVERIFY(insertNow(*m_manager, older));
        QVERIFY(insertNow(*m_manager, newer));
        QCOMPARE(older->contentExtension().marked, false);

        int done = 0;
        m_manager->updateFavorite({newer, older}, true, [&done] { ++done; });
        m_manager->updateFavorite({older}, true, [&done] { ++done; });
        QTRY_COMPARE(done, 2);
        QCOMPARE(m_manager->items(Category::Marked), QList<PBContentPtr>({older, newer}));
        QVERIFY(older->contentExtension().marked);

        loadNow(*m_manager);
        QCOMPARE(m_manager->items(Category::Marked).size(), 2);
        QCOMPARE(m_manager->items(Category::Marked).first()->uuid(), newer->uuid());

        PBContentPtr reloaded = m_manager->items(Category::Marked).first();
        m_manager->updateFavorite({reloaded}, false, [&done] { ++done; });
        QTRY_COMPARE(done, 3);
        QCOMPARE(m_manager->items(Category::Marked).size(), 1);
        QVERIFY(!reloaded->contentExtension().marked);
    }

    void aRowWithoutApplicationLoadsWithoutOneBesideAnEmptyOne()
    {
        {
            SqliteDatabase db;
            QVERIFY(db.open(m_manager->dbPath()));
            QVERIFY(db.execute(QStringLiteral(
                "INSERT INTO pb_items (uuid, date, title, type, pb_type, data, app, marked, "
                "keyword) VALUES ('EMPTY', 2, '', 0, 'public.utf8-plain-text', '', '', 0, 'a'), "
                "('NULL', 1, '', 0, 'public.utf8-plain-text', '', NULL, 0, 'b')")));
        }
        loadNow(*m_manager);
        const QList<PBContentPtr> items = m_manager->recentItems();
        QCOMPARE(items.size(), 2);
        QVERIFY(items[0]->app().isEmpty() && !items[0]->app().isNull());
        QVERIFY(items[1]->app().isNull());
    }

    // The caller holds the objects from before a load that replaced every listed object.
    void aDeleteOrMarkMadeWithAnObjectFromBeforeALoadFollowsTheRow()
    {
        const auto marked = textItem(QStringLiteral("marked"));
        const auto deleted = textItem(QStringLiteral("deleted"), someDate + 1);
        QVERIFY(insertNow(*m_manager, marked));
        QVERIFY(insertNow(*m_manager, deleted));
        loadNow(*m_manager);
        QVERIFY(!m_manager->recentItems().contains(marked));

        bool done = false;
        m_manager->updateFavorite({marked}, true, {});
        m_manager->deletePbContents({deleted}, [&done] { done = true; });
        QTRY_VERIFY(done);
        QCOMPARE(m_manager->recentItems().size(), 1);
        const PBContentPtr listed = m_manager->recentItems().first();
        QCOMPARE(listed->uuid(), marked->uuid());
        QVERIFY(listed->marked);
        QCOMPARE(m_manager->items(Category::Marked), QList<PBContentPtr>{listed});
        QCOMPARE(m_manager->items(Category::Text), QList<PBContentPtr>{listed});
    }

    // The load reads the table before or after the deletion, as the threads fall; either way the
    // lists end equal to the table.
    void aDeleteMadeWhileALoadIsInFlightIsNeverUndone()
    {
        const auto kept = textItem(QStringLiteral("kept"));
        const auto deleted = textItem(QStringLiteral("deleted"), someDate + 1);
        QVERIFY(insertNow(*m_manager, kept));
        QVERIFY(insertNow(*m_manager, deleted));
        for (int round = 0; round < 20; ++round) {
            const auto extra = textItem(QStringLiteral("extra"), someDate + 2 + round);
            QVERIFY(insertNow(*m_manager, extra));
            bool loaded = false;
            m_manager->fetchAllItems([&loaded] { loaded = true; });
            m_manager->deletePbContents({extra});
            QTRY_VERIFY(loaded);
            QTRY_COMPARE(m_manager->recentItems().size(), StoredRows::count(m_manager->dbPath()));
        }
    }

    // Beyond a few dozen items the lists are swept at once and announced as replaced.
    void aLargeDeletionLeavesEveryListAsTheTable()
    {
        QList<PBContentPtr> items;
        for (int i = 0; i < 150; ++i)
            items.append(textItem(QStringLiteral("item %1").arg(i), someDate + i));
        for (const PBContentPtr& item : std::as_const(items))
            QVERIFY(insertNow(*m_manager, item));
        QSignalSpy replaced(m_manager, &DBManager::listsReplaced);
        bool done = false;
        m_manager->deletePbContents(items.mid(0, 100), [&done] { done = true; });
        QTRY_VERIFY(done);
        QCOMPARE(replaced.size(), 1);
        QCOMPARE(m_manager->recentItems().size(), 50);
        QCOMPARE(m_manager->items(Category::Text).size(), 50);
        QCOMPARE(m_manager->count(Category::Recents).value(), 50);
        QCOMPARE(StoredRows::count(m_manager->dbPath()), 50);
        QCOMPARE(m_manager->recentItems().last()->uuid(), items[100]->uuid());
    }

    void operationsWithoutACompletionStillTakeEffect()
    {
        const auto kept = textItem(QStringLiteral("kept"));
        const auto gone = textItem(QStringLiteral("gone"));
        m_manager->insertPbContent(kept, {});
        m_manager->insertPbContent(gone, {});
        m_manager->insertPbContent(nullptr, {});
        QTRY_COMPARE(m_manager->recentItems().size(), 2);

        m_manager->updateFavorite({kept}, true, {});
        QTRY_COMPARE(m_manager->items(Category::Marked), QList<PBContentPtr>{kept});
        m_manager->deletePbContents({gone}, {});
        QTRY_COMPARE(m_manager->recentItems(), QList<PBContentPtr>{kept});
        m_manager->searchPbItems(QStringLiteral("kept"), m_manager, {});
        m_manager->fetchAllItems({});
        QTRY_COMPARE(m_manager->count(Category::Marked).value(), 1);
        QCOMPARE(StoredRows::count(m_manager->dbPath()), 1);
    }

    // The rows' pages reach the write-ahead log only at COMMIT, so a file-size limit makes the
    // COMMIT itself fail, as a full disk would.
    void uncommittedTransactionKeepsRowsFilesAndLists_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::newRow("user deletion") << QStringLiteral("delete");
        QTest::newRow("retention pass") << QStringLiteral("retain");
        QTest::newRow("mark") << QStringLiteral("mark");
    }

    void uncommittedTransactionKeepsRowsFilesAndLists()
    {
        QFETCH(QString, operation);
        QList<PBContentPtr> items;
        for (const QString& keyword : {QStringLiteral("first"), QStringLiteral("second")}) {
            auto item = textItem(keyword, someDate - 1e7 + items.size());
            const auto paths = m_store->dataManager.saveDataOfContent(*item);
            QVERIFY(paths);
            item->setDataPathArray(*paths);
            QVERIFY(insertNow(*m_manager, item));
            items.prepend(item);
        }
        loadNow(*m_manager);
        const QStringList listed = uuidsOf(m_manager->recentItems());
        QCOMPARE(listed, uuidsOf(items));
        m_store->settings.setSaveMode(SettingsModel::SaveMode::ByDuration);

        QSignalSpy deletions(m_manager, &DBManager::deletionFinished);
        QSignalSpy marks(m_manager, &DBManager::marksUpdated);
        bool done = false;
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("transaction not committed")));
        {
            const FileSizeLimit limit(1);
            QVERIFY(limit.isSet());
            if (operation == QStringLiteral("retain"))
                Retention(*m_manager, m_store->settings, m_store->clock).syncClearContents(false);
            else if (operation == QStringLiteral("mark"))
                m_manager->updateFavorite(items, true, [&done] { done = true; });
            else
                m_manager->deletePbContents(items, [&done] { done = true; });
        }
        if (operation != QStringLiteral("retain"))
            QTRY_VERIFY(done);
        QCoreApplication::processEvents();

        QCOMPARE(StoredRows::count(m_manager->dbPath()), 2);
        for (const PBContentPtr& item : std::as_const(items))
            QVERIFY(QFile::exists(item->dataPathArray()->first()));
        QCOMPARE(uuidsOf(m_manager->recentItems()), listed);
        QCOMPARE(m_manager->count(Category::Text).value(), 2);
        // Nor is anything marked, nor a deletion or a mark reported.
        for (const PBContentPtr& item : m_manager->recentItems())
            QVERIFY(!item->marked);
        for (const PBContentPtr& item : std::as_const(items))
            QVERIFY(!item->marked);
        QVERIFY(m_manager->items(Category::Marked).isEmpty());
        for (const QSignalSpy* spy : {&deletions, &marks}) {
            for (const QList<QVariant>& emitted : *spy)
                QVERIFY(emitted.first().value<QList<PBContentPtr>>().isEmpty());
        }
    }

private:
    std::unique_ptr<StoreFixture> m_store;
    DBManager* m_manager = nullptr;
};

QTEST_GUILESS_MAIN(TestDBManager)
#include "tst_dbmanager.moc"
