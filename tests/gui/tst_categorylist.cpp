#include "ListFixture.h"
#include "browser/HistoryListModel.h"
#include "browser/HistoryListView.h"
#include "browser/HistoryRowDelegate.h"
#include "browser/RowArtwork.h"
#include "controls/TemplateButton.h"
#include "platform/Workspace.h"
#include "platform/doubles/PasteKeystrokeMemory.h"
#include "shell/Dialogs.h"
#include "shell/Utils.h"
#include "storage/BooleanSetting.h"
#include "storage/HistorySearch.h"
#include "storage/SettingsModel.h"
#include "storage/UserDefaults.h"
#include "support/SqliteDatabase.h"
#include "support/SqliteStatement.h"
#include "support/StringAdditions.h"

#include <QAbstractItemModelTester>
#include <QAccessible>
#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QItemSelectionModel>
#include <QMenu>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>

using namespace Qt::StringLiterals;

namespace {
// The items a list shows, top to bottom.
QList<PBContentPtr> shown(const HistoryListModel& model)
{
    QList<PBContentPtr> items;
    for (int row = 0; row < model.rowCount(); ++row)
        items.append(model.contentWithRow(row));
    return items;
}

template <class T> QList<T> reversed(QList<T> items)
{
    std::reverse(items.begin(), items.end());
    return items;
}

QStringList uuids(const QList<PBContentPtr>& items)
{
    QStringList found;
    for (const PBContentPtr& item : items)
        found.append(item->uuid());
    return found;
}

} // namespace

class TestCategoryList : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_fixture = std::make_unique<ListFixture>();
        QVERIFY(m_fixture->load());
    }
    void cleanup() { m_fixture.reset(); }

    void modelFollowsEveryChangeOfTheStore_data();
    void modelFollowsEveryChangeOfTheStore();
    void searchShowsOnlyTheCurrentKeywordsResults();
    void streamedResultsArriveInOrderAfterTheFirstScreenful_data();
    void streamedResultsArriveInOrderAfterTheFirstScreenful();
    void rowsShowOnlyTheirOwnDescriptionThroughEviction_data();
    void rowsShowOnlyTheirOwnDescriptionThroughEviction();
    void anUnknownCategoryNeverFills();
    void rowButtonsFollowMarkHoverAndKind_data();
    void rowButtonsFollowMarkHoverAndKind();
    void theMarkButtonFollowsAMarkMadeElsewhere();
    void rowsExposeDescriptionAndTime();
    void artworkIsMadeAtRowSizeWithTheItemsDescription();
    void selectingWritesOnlyThePayloadsThatCanBeRead();
    void choosingARowPastesAsTheWindowsPreferenceSays_data();
    void choosingARowPastesAsTheWindowsPreferenceSays();
    void rowsFollowTheRowHeightChoice();

private:
    std::unique_ptr<CategoryListViewController> makeList(Category category)
    {
        auto list = std::make_unique<CategoryListViewController>(category, m_fixture->services());
        list->resize(400, 500);
        list->show();
        if (!QTest::qWaitForWindowExposed(list.get()))
            return nullptr;
        return list;
    }

    std::unique_ptr<ListFixture> m_fixture;
};

void TestCategoryList::modelFollowsEveryChangeOfTheStore_data()
{
    QTest::addColumn<Category>("category");
    QTest::addColumn<bool>("asc");
    QTest::addColumn<bool>("searchFirst");
    QTest::newRow("recents") << Category::Recents << false << false;
    QTest::newRow("recents, oldest first") << Category::Recents << true << false;
    QTest::newRow("text") << Category::Text << false << false;
    QTest::newRow("marked, oldest first") << Category::Marked << true << false;
    QTest::newRow("search") << Category::Search << false << false;
    QTest::newRow("search, oldest first") << Category::Search << true << false;
    QTest::newRow("search before the first load") << Category::Search << false << true;
    QTest::newRow("search before the first load, oldest first") << Category::Search << true << true;
}

// Inserts, removals, marks and loads, each checked by Qt's model tester as it happens and by
// the rows shown, with their marks, against the store's own list afterwards. Search results are
// checked against the history's items that hold the search text; two of them have uuids of a
// form the lists keep as text, and one of those is deleted before the last load. A search made
// before the first load finds rows no list holds yet; one of them is marked then.
void TestCategoryList::modelFollowsEveryChangeOfTheStore()
{
    QFETCH(Category, category);
    QFETCH(bool, asc);
    QFETCH(bool, searchFirst);
    if (searchFirst)
        m_fixture->store.manager = m_fixture->store.makeManager(m_fixture->store.folder.path());
    DBManager& store = m_fixture->manager();
    {
        SqliteDatabase db;
        QVERIFY(db.open(store.dbPath()));
        QVERIFY(db.execute(u"INSERT INTO pb_items (uuid, date, title, type, pb_type, data, app, "
                           "marked, keyword) VALUES ('made by hand 1', 1e9, '', 0, "
                           "'public.utf8-plain-text', '/x', 'app', 0, 'by hand a'), "
                           "('made by hand 2', 1e9 + 1, '', 0, 'public.utf8-plain-text', '/x', "
                           "'app', 1, 'by hand b')"_s));
    }
    HistoryListModel model(category, store, m_fixture->artwork);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setAsc(asc);
    const bool search = category == Category::Search;
    const auto expected = [&] {
        QList<PBContentPtr> list = store.items(search ? Category::Recents : category);
        if (search)
            list.removeIf([](const PBContentPtr& item) { return !item->keyword().contains(u'a'); });
        QStringList shownRows;
        for (const PBContentPtr& item : asc ? reversed(list) : list)
            shownRows.append(item->uuid() + (item->marked ? u" marked"_s : QString()));
        return shownRows;
    };
    const auto shownRows = [&model] {
        QStringList rows;
        for (const PBContentPtr& item : shown(model))
            rows.append(item->uuid() + (item->marked ? u" marked"_s : QString()));
        return rows;
    };
    if (searchFirst) {
        model.setKeyword(u"a"_s);
        QTRY_COMPARE(model.rowCount(), 2);
        bool marked = false;
        Utils::toggleMarked(store, {model.contentWithRow(asc ? 0 : 1)},
                            [&marked] { marked = true; });
        QTRY_VERIFY(marked);
        const QStringList both{u"made by hand 2 marked"_s, u"made by hand 1 marked"_s};
        QCOMPARE(shownRows(), asc ? reversed(both) : both);
    }
    QVERIFY(m_fixture->load());
    if (!search || searchFirst)
        QCOMPARE(shownRows(), expected());
    const qsizetype listed = store.listLength(Category::Recents);
    const PBContentPtr byHand = store.itemAt(Category::Recents, listed - 1);
    const PBContentPtr byHandMarked = store.itemAt(Category::Recents, listed - 2);
    // Read now, as the items added below have theirs, so that no row's text changes under the
    // model tester when its details come in.
    byHand->keepDetails();
    byHandMarked->keepDetails();

    const PBContentPtr a = m_fixture->add(PBContentTypeText, u"alpha"_s);
    const PBContentPtr b = m_fixture->add(PBContentTypeImage, u"picture"_s);
    const PBContentPtr c = m_fixture->add(PBContentTypeText, u"gamma"_s);
    QVERIFY(a && b && c);
    if (search) {
        model.setKeyword(u"a"_s);
        QTRY_COMPARE(model.rowCount(), 4);
    }
    QCOMPARE(shownRows(), expected());
    bool marked = false;
    Utils::toggleMarked(store, {a, c}, [&marked] { marked = true; });
    QTRY_VERIFY(marked);
    QCOMPARE(shownRows(), expected());
    marked = false;
    Utils::toggleMarked(store, {a}, [&marked] { marked = true; });
    QTRY_VERIFY(marked);
    QCOMPARE(shownRows(), expected());
    bool deleted = false;
    store.deletePbContents({c, byHand}, [&deleted] { deleted = true; });
    QTRY_VERIFY(deleted);
    QCOMPARE(shownRows(), expected());
    // Written behind the store's back, it takes the place among the uuids kept as text that the
    // deleted one had; it holds no "a".
    {
        SqliteDatabase db;
        QVERIFY(db.open(store.dbPath()));
        QVERIFY(db.execute(u"INSERT INTO pb_items (uuid, date, title, type, pb_type, data, app, "
                           "marked, keyword) VALUES ('made by hand 3', 1e9 + 2, '', 0, "
                           "'public.utf8-plain-text', '/x', 'app', 0, 'typed by hnd')"_s));
    }
    QVERIFY(m_fixture->load());
    QCOMPARE(shownRows(), expected());
    QVERIFY(model.rowCount() > 0 || category == Category::Marked);
    for (int row = 0; row < model.rowCount(); ++row)
        QCOMPARE(model.indexOfUuid(model.contentWithRow(row)->uuid()).row(), row);
}

void TestCategoryList::searchShowsOnlyTheCurrentKeywordsResults()
{
    m_fixture->add(PBContentTypeText, u"apple"_s);
    const PBContentPtr apricot = m_fixture->add(PBContentTypeText, u"apricot"_s);
    HistoryListModel model(Category::Search, m_fixture->manager(), m_fixture->artwork);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);

    model.setKeyword(u"ap"_s);
    model.setKeyword(u"apr"_s);
    QTRY_COMPARE(resets.size(), 1);
    // Searches run in order, so one more round trip means the stale one has come back too.
    bool roundTrip = false;
    m_fixture->manager().searchPbItems(u"x"_s, this,
                                       [&roundTrip](const auto&) { roundTrip = true; });
    QTRY_VERIFY(roundTrip);
    QCOMPARE(resets.size(), 1);
    QCOMPARE(uuids(shown(model)), QStringList{apricot->uuid()});

    model.setKeyword(QString());
    QCOMPARE(model.rowCount(), 0);
}

void TestCategoryList::streamedResultsArriveInOrderAfterTheFirstScreenful_data()
{
    QTest::addColumn<bool>("asc");
    QTest::newRow("newest first") << false;
    QTest::newRow("oldest first") << true;
}

// More results than the first batch holds: the earlier keyword's rows stay until the first batch
// replaces them, the rest are appended where they belong, and in the end the list shows every
// result once, in order, whichever order it shows.
void TestCategoryList::streamedResultsArriveInOrderAfterTheFirstScreenful()
{
    QFETCH(bool, asc);
    QList<PBContentPtr> matching;
    const qsizetype count = HistorySearch::defaultPacing.firstRows * 3 + 5;
    for (qsizetype i = 0; i < count; ++i) {
        matching.prepend(m_fixture->add(PBContentTypeText, u"streamed %1"_s.arg(i)));
        if (i % 3 == 0)
            QVERIFY(m_fixture->add(PBContentTypeText, u"other %1"_s.arg(i)));
    }
    const PBContentPtr earlier = m_fixture->add(PBContentTypeText, u"earlier"_s);
    HistoryListModel model(Category::Search, m_fixture->manager(), m_fixture->artwork);
    model.setAsc(asc);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setKeyword(u"earlier"_s);
    QTRY_COMPARE(model.rowCount(), 1);
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    QSignalSpy inserts(&model, &QAbstractItemModel::rowsInserted);

    model.setKeyword(u"streamed"_s);
    QCOMPARE(uuids(shown(model)), QStringList{earlier->uuid()});
    QTRY_COMPARE(model.rowCount(), int(count));
    QCOMPARE(resets.size(), 1);
    QVERIFY(!inserts.isEmpty());
    QCOMPARE(uuids(shown(model)), uuids(asc ? reversed(matching) : matching));
}

void TestCategoryList::rowsShowOnlyTheirOwnDescriptionThroughEviction_data()
{
    QTest::addColumn<qsizetype>("keptRows");
    QTest::addColumn<qsizetype>("keptBytes");
    // Fewer rows than this stay kept.
    QTest::addColumn<int>("bound");
    QTest::newRow("the bytes run out first") << qsizetype(4096) << qsizetype(4000) << 300 / 4;
    QTest::newRow("the rows run out first") << qsizetype(16) << qsizetype(16 << 20) << 17;
}

// Descriptions come from a cache far smaller than the list, made off the GUI thread and evicted
// while rows are asked for in a random order: a row shows nothing or its own text, never
// another's.
void TestCategoryList::rowsShowOnlyTheirOwnDescriptionThroughEviction()
{
    QFETCH(qsizetype, keptRows);
    QFETCH(qsizetype, keptBytes);
    QFETCH(int, bound);
    const quint32 seed = QRandomGenerator::global()->generate();
    QRandomGenerator random(seed);
    constexpr int rows = 300;
    {
        SqliteDatabase db;
        QVERIFY(db.open(m_fixture->manager().dbPath()));
        SqliteStatement insert(db, u"INSERT INTO pb_items (uuid, date, title, type, pb_type, "
                                   "data, app, marked, keyword) VALUES(?, ?, '', ?, "
                                   "'public.utf8-plain-text', '/x', 'app', 0, ?)"_s);
        for (int i = 0; i < rows; ++i) {
            insert.reset();
            insert.bind(1, u"row-%1"_s.arg(i))
                .bind(2, 1.6e9 + i)
                .bind(3, qint64(i % 2 ? PBContentTypeText : PBContentTypeURL))
                .bind(4, u"  text of row %1, %2 \n"_s.arg(i).arg(random.generate()));
            QVERIFY(insert.exec());
        }
    }
    QVERIFY(m_fixture->load());
    RowArtworkCache artwork(QSize(40, 40), {keptRows, keptBytes});
    HistoryListModel model(Category::Recents, m_fixture->manager(), artwork);
    QCOMPARE(model.rowCount(), rows);
    const auto ownText = [&model](int row) {
        return model.contentWithRow(row)->keyword().simplified();
    };
    for (int round = 0; round < 200; ++round) {
        const int row = random.bounded(rows);
        const QString context = u"seed %1, round %2, row %3"_s.arg(seed).arg(round).arg(row);
        QTRY_VERIFY2(!model.index(row).data().toString().isEmpty(), qPrintable(context));
        QVERIFY2(model.index(row).data().toString() == ownText(row), qPrintable(context));
        const int other = random.bounded(rows);
        const QString shown = model.index(other).data().toString();
        QVERIFY2(shown.isEmpty() || shown == ownText(other), qPrintable(context));
    }
    QVERIFY2(artwork.keptCount() < bound, qPrintable(u"seed %1"_s.arg(seed)));
}

void TestCategoryList::anUnknownCategoryNeverFills()
{
    const auto list = makeList(Category(9));
    QVERIFY(list);
    QVERIFY(list->empty().value());
    m_fixture->add(PBContentTypeText, u"anything"_s);
    QVERIFY(m_fixture->load());
    QCOMPARE(list->contents()->rowCount(), 0);
    QVERIFY(list->empty().value());
}

void TestCategoryList::rowButtonsFollowMarkHoverAndKind_data()
{
    QTest::addColumn<PBContentType>("type");
    QTest::addColumn<bool>("marked");
    QTest::addColumn<bool>("hovered");
    QTest::addColumn<bool>("markShown");
    QTest::addColumn<bool>("openShown");
    const QList<std::pair<const char*, PBContentType>> kinds = {{"text", PBContentTypeText},
                                                                {"file", PBContentTypeFile},
                                                                {"image", PBContentTypeImage},
                                                                {"url", PBContentTypeURL}};
    for (const auto& [name, type] : kinds) {
        const bool opens = type == PBContentTypeFile || type == PBContentTypeURL;
        for (const bool marked : {false, true}) {
            for (const bool hovered : {false, true}) {
                QTest::addRow("%s, %s, %s", name, marked ? "marked" : "unmarked",
                              hovered ? "hovered" : "not hovered")
                    << type << marked << hovered << (marked || hovered) << (hovered && opens);
            }
        }
    }
}

// Under the pointer the view's buttons show; elsewhere only a marked item's mark is painted.
void TestCategoryList::rowButtonsFollowMarkHoverAndKind()
{
    QFETCH(PBContentType, type);
    QFETCH(bool, marked);
    QFETCH(bool, hovered);
    QFETCH(bool, markShown);
    QFETCH(bool, openShown);
    const PBContentPtr item = m_fixture->add(type, u"row"_s);
    QVERIFY(item);
    if (marked) {
        bool done = false;
        Utils::toggleMarked(m_fixture->manager(), {item}, [&done] { done = true; });
        QTRY_VERIFY(done);
    }
    const auto list = makeList(Category::Recents);
    QVERIFY(list);
    HistoryListView* view = list->tableView();
    const QRect row = view->visualRect(list->contents()->index(0));
    if (hovered) {
        // A move to where the pointer already is would not count as one.
        QTest::mouseMove(view->viewport(), row.topLeft() + QPoint(2, 2));
        QTest::mouseMove(view->viewport(), row.center() - QPoint(60, 0));
    }

    QCOMPARE(view->hoveredIndex().isValid(), hovered);
    QCOMPARE(view->bookmarkButton()->isVisible(), hovered && markShown);
    QCOMPARE(view->openButton()->isVisible(), openShown);
    // What the row itself paints at the mark's place: the filled mark in the text colour.
    const QImage painted = view->viewport()->grab(row).toImage();
    const QPoint mark = HistoryRowDelegate::markButtonRect(row).center() - row.topLeft();
    const bool markPainted = painted.pixelColor(mark) == view->palette().color(QPalette::Text);
    QCOMPARE(markPainted, marked);
    if (hovered && markShown)
        QCOMPARE(view->bookmarkButton()->accessibleName(), marked ? u"Unmark"_s : u"Mark"_s);
}

void TestCategoryList::theMarkButtonFollowsAMarkMadeElsewhere()
{
    const PBContentPtr item = m_fixture->add(PBContentTypeURL, u"https://example.org"_s);
    const auto list = makeList(Category::Recents);
    QVERIFY(list);
    HistoryListView* view = list->tableView();
    QTest::mouseMove(view->viewport(), view->visualRect(list->contents()->index(0)).center());
    QCOMPARE(view->bookmarkButton()->accessibleName(), u"Mark"_s);

    // Marked through a search result: another object for the same stored item. Not shown: the
    // list under the pointer stays in the active window, where alone rows show their buttons.
    CategoryListViewController search(Category::Search, m_fixture->services());
    search.setKeyword(u"example"_s);
    QTRY_COMPARE(search.contents()->rowCount(), 1);
    bool done = false;
    Utils::toggleMarked(m_fixture->manager(), {search.contentWithRow(0)}, [&done] { done = true; });
    QTRY_VERIFY(done);

    QVERIFY(item->marked);
    QCOMPARE(view->bookmarkButton()->accessibleName(), u"Unmark"_s);
    QCOMPARE(m_fixture->manager().items(Category::Marked), QList<PBContentPtr>({item}));
}

void TestCategoryList::rowsExposeDescriptionAndTime()
{
    m_fixture->add(PBContentTypeText, u"  spoken\ntext  "_s);
    const auto list = makeList(Category::Recents);
    QVERIFY(list);
    QAccessibleInterface* view = QAccessible::queryAccessibleInterface(list->tableView());
    QVERIFY(view);
    QAccessibleInterface* cell = nullptr;
    for (int i = 0; i < view->childCount() && !cell; ++i) {
        if (view->child(i)->role() == QAccessible::ListItem)
            cell = view->child(i);
    }
    QVERIFY(cell);
    QCOMPARE(cell->text(QAccessible::Name), u"spoken text"_s);
    QCOMPARE(cell->text(QAccessible::Description),
             StringAdditions::stringWithDate(m_fixture->manager().recentItems().first()->date));
    QCOMPARE(list->tableView()->openButton()->accessibleName(), u"Open"_s);
}

// A large picture becomes a small one; the description is the item's own, read without it.
void TestCategoryList::artworkIsMadeAtRowSizeWithTheItemsDescription()
{
    QImage big(1600, 900, QImage::Format_RGB32);
    big.fill(Qt::darkCyan);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    big.save(&buffer, "PNG");
    PBContentPtr item = ListFixture::makeItem(PBContentTypeImage, QString());
    item->setDataArray({png});
    item->setUuid(u"PICTURE"_s);
    item->setDataPathArray(m_fixture->store.dataManager.saveDataOfContent(*item));

    const RowArtwork artwork = RowArtwork::make(RowArtwork::Source::of(*item), QSize(80, 80));

    QCOMPARE(artwork.picture.size(), QSize(80, 45));
    QCOMPARE(artwork.description, item->desc());
    QVERIFY(artwork.cost() < 80 * 80 * 4 + 1024);
}

// A payload file gone from the folder leaves its own type out of the copy-back; an item none of
// whose files can be read leaves the clipboard as it was and says so.
void TestCategoryList::selectingWritesOnlyThePayloadsThatCanBeRead()
{
    const PBContentPtr address = m_fixture->add(PBContentTypeURL, u"https://example.org/"_s);
    const PBContentPtr gone = m_fixture->add(PBContentTypeText, u"gone"_s);
    QVERIFY(address && gone);
    QVERIFY(QFile::remove(address->dataPathArray()->first()));
    QVERIFY(QFile::remove(gone->dataPathArray()->first()));
    QStringList alerts;
    Dialogs::setResponder([&alerts](const Dialogs::Request& request) {
        alerts.append(request.text);
        return 0;
    });
    PasteboardMemory& pasteboard = m_fixture->store.pasteboard;
    pasteboard.writeItem({PasteboardTypes::string}, {"held before"});
    const auto list = makeList(Category::Recents);
    QVERIFY(list);

    ListFixture::clickRow(*list, 0);
    QCOMPARE(pasteboard.pasteboardItems().first().dataForType(PasteboardTypes::string),
             QByteArray("held before"));
    QCOMPARE(alerts, QStringList{u"The contents of this item can no longer be found."_s});
    ListFixture::clickRow(*list, 1);
    const PasteboardItem written = pasteboard.pasteboardItems().first();
    QCOMPARE(written.types(), QStringList{PasteboardTypes::string});
    QCOMPARE(written.dataForType(PasteboardTypes::string), QByteArray("https://example.org/"));
    Dialogs::setResponder({});
}

namespace {
// A desktop with one other window, active, that activating keeps active.
class OneWindow : public Workspace
{
public:
    DesktopWindow activeWindow() const override { return DesktopWindow{otherWindow}; }
    QString applicationId(DesktopWindow) const override { return u"org.example.Editor"_s; }
    bool activateWindow(DesktopWindow window) override { return window.id == otherWindow; }
    QStringList runningApplicationIds() const override { return {u"org.example.Editor"_s}; }
    static constexpr quint64 otherWindow = 42;
};
} // namespace

void TestCategoryList::choosingARowPastesAsTheWindowsPreferenceSays_data()
{
    QTest::addColumn<bool>("mini");
    QTest::addColumn<bool>("pastes");
    QTest::addColumn<QString>("gesture");
    QTest::addColumn<QByteArray>("copied");
    QTest::addColumn<bool>("closes");

    const QByteArray html = "<p>one <b>two</b></p>";
    QTest::newRow("main window, Enter, preference off")
        << false << false << u"Enter"_s << html << false;
    QTest::newRow("main window, Enter") << false << true << u"Enter"_s << html << true;
    QTest::newRow("main window, a double click")
        << false << true << u"double click"_s << html << true;
    QTest::newRow("main window, Shift+Enter, preference off")
        << false << false << u"Shift+Enter"_s << "one two"_ba << false;
    QTest::newRow("main window, the row's menu")
        << false << true << u"menu"_s << "one two"_ba << true;
    QTest::newRow("mini window, Enter, preference off")
        << true << false << u"Enter"_s << html << true;
}

// The window closes and the item is pasted into the window it was called from when that
// window's preference says so; the mini window closes on a choice either way.
void TestCategoryList::choosingARowPastesAsTheWindowsPreferenceSays()
{
    QFETCH(bool, mini);
    QFETCH(bool, pastes);
    QFETCH(QString, gesture);
    QFETCH(QByteArray, copied);
    QFETCH(bool, closes);
    PBContentPtr item = ListFixture::makeItem(PBContentTypeText, u"one two"_s);
    item->setPasteboardTypes({PasteboardTypes::html});
    item->setDataArray({"<p>one <b>two</b></p>"_ba});
    QVERIFY(m_fixture->add(item));

    OneWindow desktop;
    PasteKeystrokeMemory keystroke;
    SettingsModel settings;
    settings.setPasteFromMiniWindow(pastes);
    settings.setPasteFromMainWindow(pastes);
    PasteToApplication paste({desktop, keystroke, settings});
    paste.rememberActiveWindow();
    CategoryListViewController::Services services = m_fixture->services();
    services.paste = &paste;
    CategoryListViewController list(Category::Recents, services);
    if (mini)
        list.setPasteOrigin(PasteToApplication::Origin::MiniWindow);
    list.resize(400, 500);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    QTRY_COMPARE(list.contents()->rowCount(), 1);

    HistoryListView* view = list.tableView();
    const QPoint row = view->visualRect(list.contents()->index(0)).center();
    ListFixture::clickRow(list, 0);
    if (gesture == u"double click") {
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, row);
    } else if (gesture == u"menu") {
        QTimer::singleShot(0, [] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY(menu);
            QCOMPARE(menu->actions().first()->text(), u"Paste as Plain Text"_s);
            menu->actions().first()->trigger();
            menu->close();
        });
        emit view->customContextMenuRequested(row);
    } else {
        view->setFocus();
        QTest::keyClick(view, Qt::Key_Return,
                        gesture == u"Shift+Enter" ? Qt::ShiftModifier : Qt::NoModifier);
    }
    const PasteboardItem written = m_fixture->store.pasteboard.pasteboardItems().first();
    QCOMPARE(written.dataForType(written.types().first()), copied);
    QCOMPARE(list.isVisible(), !closes);
    QTRY_COMPARE(keystroke.sent().size(), pastes ? 1 : 0);
}

// Compact rows show from the start when chosen, and a change of the choice lays out the shown
// list again; the row's buttons stay inside the row.
void TestCategoryList::rowsFollowTheRowHeightChoice()
{
    m_fixture->add(PBContentTypeText, u"first"_s);
    m_fixture->add(PBContentTypeURL, u"https://example.org/"_s);
    QTemporaryDir folder;
    const QString defaults = folder.filePath(u"vantrel.conf"_s);
    BooleanSetting(defaults, UserDefaults::compactRowsKey).setValue(true);
    BooleanSetting compact(defaults, UserDefaults::compactRowsKey);
    CategoryListViewController::Services services = m_fixture->services();
    services.compactRows = &compact;
    CategoryListViewController list(Category::Recents, services);
    list.resize(400, 500);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    QTRY_COMPARE(list.contents()->rowCount(), 2);

    for (const bool compactRows : {true, false, true}) {
        compact.setValue(compactRows);
        const int height = compactRows ? HistoryRowDelegate::compactRowHeight
                                       : HistoryRowDelegate::comfortableRowHeight;
        HistoryListView* view = list.tableView();
        QTRY_COMPARE(view->visualRect(list.contents()->index(0)).height(), height);
        const QRect second = view->visualRect(list.contents()->index(1));
        QCOMPARE(second.top(), height);
        QVERIFY(second.contains(HistoryRowDelegate::openButtonRect(second)));
    }
}

QTEST_MAIN(TestCategoryList)
#include "tst_categorylist.moc"
