#include "ListFixture.h"
#include "browser/CategoryViewController.h"
#include "browser/HistoryListModel.h"
#include "browser/HistoryListView.h"
#include "browser/HistoryRowDelegate.h"
#include "controls/HighlightButton.h"
#include "shell/Dialogs.h"
#include "shell/Utils.h"

#include <QAbstractItemModelTester>
#include <QItemSelectionModel>
#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;

namespace {
QImage picture(const QIcon& icon)
{
    return icon.pixmap(QSize(20, 20), 1.0).toImage();
}
} // namespace

class TestCategoryView : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_fixture = std::make_unique<ListFixture>();
        QVERIFY(m_fixture->load());
    }
    void cleanup()
    {
        Dialogs::setResponder({});
        m_fixture.reset();
    }

    void toolBarsShowWhileThereIsSomethingToActOn_data();
    void toolBarsShowWhileThereIsSomethingToActOn();
    void theMarkButtonFollowsTheCurrentItemsMark();
    void sortingTwiceRestoresNewestFirst();
    void clearActsOnEveryListedItemOfItsPage_data();
    void clearActsOnEveryListedItemOfItsPage();

private:
    std::unique_ptr<CategoryViewController> makePage(Category category)
    {
        auto page = std::make_unique<CategoryViewController>(category, m_fixture->services());
        new QAbstractItemModelTester(page->listViewController()->contents(),
                                     QAbstractItemModelTester::FailureReportingMode::QtTest,
                                     page.get());
        page->resize(800, 500);
        page->show();
        return page;
    }
    static void selectRow(CategoryViewController& page, int row)
    {
        CategoryListViewController* list = page.listViewController();
        list->tableView()->selectionModel()->setCurrentIndex(list->contents()->index(row),
                                                             QItemSelectionModel::ClearAndSelect);
    }
    static QWidget* part(CategoryViewController& page, const QString& name)
    {
        return page.findChild<QWidget*>(name);
    }
    static bool shows(CategoryViewController& page, const QString& name)
    {
        return part(page, name)->isVisibleTo(&page);
    }

    std::unique_ptr<ListFixture> m_fixture;
};

void TestCategoryView::toolBarsShowWhileThereIsSomethingToActOn_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("opens");
    QTest::newRow("text") << int(PBContentTypeText) << false;
    QTest::newRow("image") << int(PBContentTypeImage) << false;
    QTest::newRow("file") << int(PBContentTypeFile) << true;
    QTest::newRow("web address") << int(PBContentTypeURL) << true;
}

void TestCategoryView::toolBarsShowWhileThereIsSomethingToActOn()
{
    QFETCH(int, type);
    QFETCH(bool, opens);
    auto page = makePage(Category::Recents);
    QVERIFY(!shows(*page, u"toolsContainer"_s));
    QVERIFY(!shows(*page, u"previewToolsContainer"_s));
    QVERIFY(page->previewVC()); // made at the list's first report

    QVERIFY(m_fixture->add(PBContentType(type), u"example.org"_s));
    QTRY_VERIFY(shows(*page, u"toolsContainer"_s));
    QVERIFY(!shows(*page, u"previewToolsContainer"_s));

    selectRow(*page, 0);
    QVERIFY(shows(*page, u"previewToolsContainer"_s));
    QCOMPARE(shows(*page, u"openContainer"_s), opens);

    page->onDeleteButton();
    QTRY_VERIFY(!shows(*page, u"toolsContainer"_s));
    QVERIFY(!shows(*page, u"previewToolsContainer"_s));
}

void TestCategoryView::theMarkButtonFollowsTheCurrentItemsMark()
{
    auto page = makePage(Category::Recents);
    const PBContentPtr item = m_fixture->add(PBContentTypeText, u"hello"_s);
    QVERIFY(item);
    QTRY_COMPARE(page->listViewController()->contents()->rowCount(), 1);
    selectRow(*page, 0);
    auto* mark = page->findChild<HighlightButton*>(u"markButton"_s);
    QCOMPARE(mark->accessibleName(), u"Mark"_s);

    page->onBookmarkButton();
    QTRY_COMPARE(mark->accessibleName(), u"Unmark"_s);
    QCOMPARE(picture(mark->image()), picture(HistoryRowDelegate::image(u"bookmark_s"_s)));
    // A mark changed elsewhere (a row's button, another page) shows here too.
    Utils::toggleMarked(m_fixture->manager(), {item}, [] {});
    QTRY_COMPARE(mark->accessibleName(), u"Mark"_s);
    QCOMPARE(picture(mark->image()), picture(HistoryRowDelegate::image(u"bookmark_n"_s)));
}

void TestCategoryView::sortingTwiceRestoresNewestFirst()
{
    auto page = makePage(Category::Text);
    for (const QString& text : {u"old"_s, u"middle"_s, u"new"_s})
        QVERIFY(m_fixture->add(PBContentTypeText, text));
    HistoryListModel* rows = page->listViewController()->contents();
    auto* sort = page->findChild<HighlightButton*>(u"sortButton"_s);
    QTRY_COMPARE(rows->rowCount(), 3);
    QCOMPARE(rows->contentWithRow(0)->keyword(), u"new"_s);

    page->onSortButton();
    QCOMPARE(rows->contentWithRow(0)->keyword(), u"old"_s);
    QCOMPARE(picture(sort->image()), picture(HistoryRowDelegate::image(u"sort_desc"_s)));
    page->onSortButton();
    QCOMPARE(rows->contentWithRow(0)->keyword(), u"new"_s);
    QCOMPARE(picture(sort->image()), picture(HistoryRowDelegate::image(u"sort_aes"_s)));
}

void TestCategoryView::clearActsOnEveryListedItemOfItsPage_data()
{
    QTest::addColumn<Category>("category");
    QTest::addColumn<bool>("oldestFirst");
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("rowsLeft");
    QTest::addColumn<int>("markedLeft");
    QTest::addColumn<QString>("question");
    // Ten text items, "item 0" … "item 9"; items 3 and 7 marked.
    const QString deleteAll = u"Delete 10 items? Marked items are deleted too."_s;
    QTest::newRow("Recents deletes all, marked too")
        << Category::Recents << false << 1 << 0 << 0 << deleteAll;
    QTest::newRow("oldest first clears the same")
        << Category::Recents << true << 1 << 0 << 0 << deleteAll;
    QTest::newRow("Marked only unmarks") << Category::Marked << false << 1 << 10 << 0
                                         << u"Unmark 2 items? They stay in the history."_s;
    QTest::newRow("search deletes its results")
        << Category::Search << false << 1 << 0 << 0 << deleteAll;
    QTest::newRow("Cancel changes nothing")
        << Category::Recents << false << 0 << 10 << 2 << deleteAll;
}

void TestCategoryView::clearActsOnEveryListedItemOfItsPage()
{
    QFETCH(Category, category);
    QFETCH(bool, oldestFirst);
    QFETCH(int, answer);
    QFETCH(int, rowsLeft);
    QFETCH(int, markedLeft);
    QFETCH(QString, question);
    QList<PBContentPtr> items;
    for (int i = 0; i < 10; ++i)
        items.append(m_fixture->add(PBContentTypeText, u"item %1"_s.arg(i)));
    QVERIFY(!items.contains(nullptr));
    bool marked = false;
    Utils::toggleMarked(m_fixture->manager(), {items[3], items[7]}, [&marked] { marked = true; });
    QTRY_VERIFY(marked);

    auto page = makePage(category);
    if (category == Category::Search)
        page->setKeyword(u"item"_s);
    QTRY_COMPARE(page->listViewController()->contents()->rowCount(),
                 category == Category::Marked ? 2 : 10);
    if (oldestFirst)
        page->onSortButton();
    Dialogs::Request asked;
    Dialogs::setResponder([&asked, answer](const Dialogs::Request& request) {
        asked = request;
        return answer;
    });
    page->onEmptyButton();

    QCOMPARE(asked.text, question);
    QCOMPARE(asked.buttons, QStringList({u"Cancel"_s, u"Clear"_s}));
    QCOMPARE(asked.defaultButton, 0);
    DBManager& store = m_fixture->manager();
    QTRY_COMPARE(store.count(Category::Recents).value(), qint64(rowsLeft));
    QTRY_COMPARE(store.count(Category::Marked).value(), qint64(markedLeft));
    QCOMPARE(store.recentItems().size(), rowsLeft);
    QCOMPARE(page->listViewController()->contents()->rowCount(),
             category == Category::Marked ? markedLeft : rowsLeft);
    // What the lists say is what the database holds.
    QVERIFY(m_fixture->load());
    QCOMPARE(store.recentItems().size(), rowsLeft);
    QCOMPARE(store.items(Category::Marked).size(), markedLeft);
}

QTEST_MAIN(TestCategoryView)
#include "tst_categoryview.moc"
