#include "StoreFixture.h"
#include "item/PBFileContent.h"
#include "item/PBImageContent.h"
#include "item/PBTextContent.h"
#include "item/PBURLContent.h"
#include "storage/Retention.h"
#include "support/SqliteDatabase.h"
#include "support/SqliteStatement.h"

#include <QRandomGenerator>
#include <QSet>
#include <QtTest>
#include <array>
#include <numeric>

using namespace Qt::StringLiterals;

namespace {
constexpr qint64 day = 86'400;

struct TableRow
{
    qint64 rowId;
    QString uuid;
    double date;
    qint64 type;
    bool marked;
};

// The rows the lists hold, newest first as a load orders them (of one date, the last written
// first).
QList<TableRow> tableRows(const QString& dbPath)
{
    QList<TableRow> rows;
    SqliteDatabase db;
    if (!db.open(dbPath))
        return rows;
    SqliteStatement select(db, u"SELECT rowid, uuid, date, type, marked FROM pb_items WHERE "
                               "type BETWEEN 0 AND 3 ORDER BY date DESC, rowid DESC"_s);
    while (select.step())
        rows.append({select.integer("rowid"), select.text("uuid"), select.real("date"),
                     select.integer("type"), select.integer("marked") != 0});
    return rows;
}

PBContentPtr newItem(qint64 type, const Clock& clock)
{
    switch (type) {
    case PBContentTypeFile:
        return PBContent::createInstance<PBFileContent>(clock);
    case PBContentTypeImage:
        return PBContent::createInstance<PBImageContent>(clock);
    case PBContentTypeURL:
        return PBContent::createInstance<PBURLContent>(clock);
    default:
        return PBContent::createInstance<PBTextContent>(clock);
    }
}

Category kindOf(qint64 type)
{
    return categoryOfType(PBContentType(type));
}
} // namespace

// The store's lists hold rows, and make an object for a row only when it is asked for. Whatever
// happens to the history, the lists must say what the table says, in the order the operations
// put the items in, and a row's object must be one object, carrying its row's values.
class TestPackedLists : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void listsAndTheirObjectsFollowTheTable_data();
    void listsAndTheirObjectsFollowTheTable();

private:
    enum class Step { Insert, Delete, Mark, Retention, Load, Search, LetGo, Count };

    void take(Step step);
    void insert();
    void remove();
    void mark();
    void prune();
    void load();
    void search();
    // Up to `most` rows of the table, each as the lists' own object or as another object for the
    // same row, as a search result or an object from before a load would be.
    void someItems(qsizetype most, QList<PBContentPtr>& items);
    // Runs once everything the store posted before has run.
    void settle();
    void expectTable();
    void removeExpected(const QString& uuid);
    void verify(const QString& where);

    std::unique_ptr<StoreFixture> m_store;
    QRandomGenerator m_random;
    // The lists as the operations leave them, by uuid: inserted and marked at the front, deleted
    // ones taken out, all in date order after a load.
    std::array<QStringList, storeListCount> m_expected;
    // Objects the lists handed out since the last load (each must stay its row's object), and
    // objects from before it (none may come back).
    QList<PBContentPtr> m_own;
    QList<PBContentPtr> m_stale;
};

void TestPackedLists::init()
{
    m_store = std::make_unique<StoreFixture>();
    m_expected = {};
    m_own.clear();
    m_stale.clear();
}

void TestPackedLists::cleanup()
{
    m_own.clear();
    m_stale.clear();
    m_store.reset();
}

void TestPackedLists::listsAndTheirObjectsFollowTheTable_data()
{
    QTest::addColumn<quint32>("seed");
    // VANTREL_TEST_SEEDS="1 2 3" replays chosen seeds ("random" picks a fresh one); otherwise
    // the same one every run, so that a run of the suite is repeatable.
    QList<quint32> seeds;
    for (const QString& seed :
         qEnvironmentVariable("VANTREL_TEST_SEEDS").split(u' ', Qt::SkipEmptyParts))
        seeds.append(seed == u"random"_s ? QRandomGenerator::global()->generate() : seed.toUInt());
    if (seeds.isEmpty())
        seeds = {20261209u, 1u};
    for (quint32 seed : seeds)
        QTest::addRow("seed %u", seed) << seed;
}

void TestPackedLists::listsAndTheirObjectsFollowTheTable()
{
    QFETCH(quint32, seed);
    m_random.seed(seed);
    constexpr std::array<int, int(Step::Count)> weights{36, 14, 18, 6, 7, 12, 7};
    const int total = std::accumulate(weights.begin(), weights.end(), 0);
    for (int i = 0; i < 500; ++i) {
        int pick = m_random.bounded(total);
        int step = 0;
        while (pick >= weights[step])
            pick -= weights[step++];
        take(Step(step));
        if (QTest::currentTestFailed())
            QFAIL(qPrintable(u"seed %1, step %2 (kind %3)"_s.arg(seed).arg(i).arg(step)));
        verify(u"seed %1, step %2 (kind %3)"_s.arg(seed).arg(i).arg(step));
        if (QTest::currentTestFailed())
            return;
    }
}

void TestPackedLists::take(Step step)
{
    switch (step) {
    case Step::Insert:
        return insert();
    case Step::Delete:
        return remove();
    case Step::Mark:
        return mark();
    case Step::Retention:
        return prune();
    case Step::Load:
        return load();
    case Step::Search:
        return search();
    case Step::LetGo:
        m_own.clear();
        return;
    case Step::Count:
        return;
    }
}

// Mostly later than everything before; sometimes older (the clock was set back), sometimes of
// the very date of another row.
void TestPackedLists::insert()
{
    FixedClock& clock = m_store->clock;
    const qint64 type = m_random.bounded(4);
    const PBContentPtr item = newItem(type, clock);
    const int when = m_random.bounded(10);
    const QList<TableRow> rows = tableRows(m_store->manager->dbPath());
    // A row without a date, or with one before 1970, has none to share.
    const double another = rows.isEmpty() ? 0 : rows[m_random.bounded(int(rows.size()))].date;
    if (when == 0)
        item->date = clock.time - double(m_random.bounded(3 * day));
    else if (when == 1 && another > 0)
        item->date = another;
    else
        item->date = clock.time += 1 + m_random.bounded(4000);
    const QString word = QChar(u'a' + m_random.bounded(6)) + u" item"_s;
    item->setKeyword(word);
    item->setPasteboardTypes({u"public.utf8-plain-text"_s});
    item->setDataArray({word.toUtf8()});
    item->setDataPathArray(QStringList{u"/nowhere/"_s + item->uuid()});
    std::optional<bool> written;
    m_store->manager->insertPbContent(item, [&written](bool ok) { written = ok; });
    QVERIFY(QTest::qWaitFor([&written] { return written.has_value(); }));
    QVERIFY(*written);
    m_expected[qsizetype(Category::Recents)].prepend(item->uuid());
    m_expected[qsizetype(kindOf(type))].prepend(item->uuid());
    m_own.append(item);
}

void TestPackedLists::someItems(qsizetype most, QList<PBContentPtr>& items)
{
    DBManager& store = *m_store->manager;
    QList<TableRow> rows = tableRows(store.dbPath());
    const qsizetype count = std::min(most, rows.size());
    for (qsizetype i = 0; i < count; ++i) {
        const TableRow row = rows.takeAt(m_random.bounded(int(rows.size())));
        if (m_random.bounded(2) == 0) {
            const qsizetype index =
                store.indexOfUuid(Category::Recents, ItemUuid::fromString(row.uuid));
            QVERIFY2(index >= 0, qPrintable(row.uuid));
            items.append(store.itemAt(Category::Recents, index));
            m_own.append(items.last());
        } else {
            PBContentPtr other = PBContent::withType(row.type);
            other->setUuid(row.uuid);
            other->date = row.date;
            other->marked = row.marked;
            items.append(other);
        }
    }
}

void TestPackedLists::removeExpected(const QString& uuid)
{
    for (QStringList& list : m_expected)
        list.removeAll(uuid);
}

// Now and then more items at once than are taken out row by row.
void TestPackedLists::remove()
{
    const bool many = m_random.bounded(8) == 0;
    QList<PBContentPtr> items;
    someItems(many ? 65 + m_random.bounded(20) : 1 + m_random.bounded(3), items);
    if (QTest::currentTestFailed())
        return;
    bool done = false;
    m_store->manager->deletePbContents(items, [&done] { done = true; });
    QVERIFY(QTest::qWaitFor([&done] { return done; }));
    for (const PBContentPtr& item : items)
        removeExpected(item->uuid());
}

void TestPackedLists::mark()
{
    const bool marked = m_random.bounded(3) != 0;
    QList<PBContentPtr> items;
    someItems(1 + m_random.bounded(2), items);
    if (QTest::currentTestFailed())
        return;
    bool done = false;
    m_store->manager->updateFavorite(items, marked, [&done] { done = true; });
    QVERIFY(QTest::qWaitFor([&done] { return done; }));
    QStringList& listed = m_expected[qsizetype(Category::Marked)];
    for (const PBContentPtr& item : items) {
        if (!marked)
            listed.removeAll(item->uuid());
        else if (!listed.contains(item->uuid()))
            listed.prepend(item->uuid());
    }
}

// By number (the newest 100 kept) or by age (a day), a day having passed.
void TestPackedLists::prune()
{
    SettingsModel& settings = m_store->settings;
    const bool byNumber = m_random.bounded(2) == 0;
    settings.setSaveMode(byNumber ? SettingsModel::SaveMode::ByNumber
                                  : SettingsModel::SaveMode::ByDuration);
    settings.setSaveCount(0);
    settings.setSaveTime(0);
    if (!byNumber)
        m_store->clock.time += day;
    QSet<QString> before;
    for (const TableRow& row : tableRows(m_store->manager->dbPath()))
        before.insert(row.uuid);
    Retention retention(*m_store->manager, settings, m_store->clock);
    retention.syncClearContents(false);
    settle();
    settings.setSaveMode(SettingsModel::SaveMode::Manual);
    for (const TableRow& row : tableRows(m_store->manager->dbPath()))
        before.remove(row.uuid);
    for (const QString& uuid : std::as_const(before))
        removeExpected(uuid);
}

// Now and then a row has lost its date behind the store's back, or taken one from before 1970: a
// load lists a row without a date after every dated one.
void TestPackedLists::load()
{
    const qsizetype rows = tableRows(m_store->manager->dbPath()).size();
    if (rows > 0 && m_random.bounded(3) == 0) {
        SqliteDatabase db;
        QVERIFY(db.open(m_store->manager->dbPath()));
        QVERIFY(db.execute(u"UPDATE pb_items SET date = %1 WHERE rowid = (SELECT rowid FROM "
                           "pb_items ORDER BY rowid LIMIT 1 OFFSET %2)"_s
                               .arg(m_random.bounded(2) ? u"NULL"_s : u"-1"_s)
                               .arg(m_random.bounded(int(rows)))));
    }
    bool done = false;
    m_store->manager->fetchAllItems([&done] { done = true; });
    QVERIFY(QTest::qWaitFor([&done] { return done; }));
    m_stale.append(m_own);
    m_own.clear();
    expectTable();
}

void TestPackedLists::expectTable()
{
    m_expected = {};
    for (const TableRow& row : tableRows(m_store->manager->dbPath())) {
        m_expected[qsizetype(Category::Recents)].append(row.uuid);
        m_expected[qsizetype(kindOf(row.type))].append(row.uuid);
        if (row.marked)
            m_expected[qsizetype(Category::Marked)].append(row.uuid);
    }
}

// The results of a listed row are the lists' own objects, with the row's mark.
void TestPackedLists::search()
{
    DBManager& store = *m_store->manager;
    const QString letter = QChar(u'a' + m_random.bounded(6));
    std::optional<QList<PBContentPtr>> found;
    store.searchPbItems(letter, &store,
                        [&found](const QList<PBContentPtr>& items) { found = items; });
    QVERIFY(QTest::qWaitFor([&found] { return found.has_value(); }));
    for (const PBContentPtr& item : std::as_const(*found)) {
        const qsizetype index = store.indexOfUuid(Category::Recents, item->itemUuid());
        QVERIFY2(index >= 0, qPrintable(item->uuid()));
        QVERIFY2(store.itemAt(Category::Recents, index) == item, qPrintable(item->uuid()));
        m_own.append(item);
    }
}

void TestPackedLists::settle()
{
    bool done = false;
    m_store->manager->deletePbContents({}, [&done] { done = true; });
    QVERIFY(QTest::qWaitFor([&done] { return done; }));
}

void TestPackedLists::verify(const QString& where)
{
    DBManager& store = *m_store->manager;
    QHash<QString, TableRow> table;
    const QList<TableRow> rows = tableRows(store.dbPath());
    for (const TableRow& row : rows)
        table.insert(row.uuid, row);
    // Searches read the table by rowid when the store says so: the rowids must then be in order.
    for (qsizetype i = 1; store.rowIdsInDateOrder() && i < rows.size(); ++i)
        QVERIFY2(rows[i - 1].rowId > rows[i].rowId,
                 qPrintable(where + u": rowids out of date order at %1"_s.arg(i)));
    QSet<const PBContent*> stale;
    for (const PBContentPtr& item : std::as_const(m_stale))
        stale.insert(item.get());
    QHash<QString, PBContentPtr> objects;
    for (qsizetype c = 0; c < storeListCount; ++c) {
        const Category category = Category(c);
        const QString list = where + u", list %1"_s.arg(c);
        const QList<PBContentPtr> items = store.items(category);
        QStringList uuids;
        for (const PBContentPtr& item : items)
            uuids << item->uuid();
        QVERIFY2(uuids == m_expected[c], qPrintable(list + u": "_s + uuids.join(u' ') +
                                                    u" instead of "_s + m_expected[c].join(u' ')));
        QCOMPARE(store.count(category).value(), qint64(items.size()));
        for (qsizetype i = 0; i < items.size(); ++i) {
            const PBContentPtr& item = items[i];
            const QString at = list + u", item "_s + item->uuid();
            QVERIFY2(table.contains(item->uuid()), qPrintable(at + u": no row"_s));
            const TableRow& row = table[item->uuid()];
            QVERIFY2(item->date == row.date && item->type() == row.type &&
                         item->marked == row.marked,
                     qPrintable(at + u": differs from its row"_s));
            QVERIFY2(store.indexOfUuid(category, item->itemUuid()) == i, qPrintable(at));
            QVERIFY2(!stale.contains(item.get()),
                     qPrintable(at + u": an object from before a load"_s));
            const PBContentPtr first = objects.value(item->uuid(), item);
            QVERIFY2(first == item, qPrintable(at + u": two objects for one row"_s));
            objects.insert(item->uuid(), item);
        }
    }
    QCOMPARE(qsizetype(table.size()), m_expected[qsizetype(Category::Recents)].size());
    for (const PBContentPtr& item : std::as_const(m_own)) {
        if (table.contains(item->uuid()))
            QVERIFY2(objects.value(item->uuid()) == item,
                     qPrintable(where + u": the object in use for "_s + item->uuid() +
                                u" was replaced"_s));
    }
}

QTEST_GUILESS_MAIN(TestPackedLists)
#include "tst_packedlists.moc"
