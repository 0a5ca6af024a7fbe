#include "ListFixture.h"
#include "browser/CategoryViewController.h"
#include "browser/EmptyView.h"
#include "browser/HistoryListModel.h"
#include "browser/MainWindowController.h"
#include "browser/RowDescription.h"
#include "browser/TabItemView.h"
#include "controls/MySearchField.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QSignalSpy>
#include <QSplitter>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;

// The main window on a store in a temporary folder, timed by a clock the test sets.
struct MainWindowFixture
{
    ListFixture list;
    FixedClock clock;
    QTemporaryDir config;
    QString userDefaults = config.filePath(u"vantrel.conf"_s);

    std::unique_ptr<MainWindowController> open()
    {
        StoreFixture& store = list.store;
        return std::make_unique<MainWindowController>(
            ViewController::Services{list.manager(), store.watcher, list.timeUpdater, list.artwork,
                                     clock},
            userDefaults);
    }
};

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_fixture = std::make_unique<MainWindowFixture>(); }
    void cleanup() { m_fixture.reset(); }

    void theSpinnerStaysAtLeastHalfASecond_data();
    void theSpinnerStaysAtLeastHalfASecond();
    void aWindowMadeLaterSharesTheFirstLoad_data();
    void aWindowMadeLaterSharesTheFirstLoad();
    void tabsShowTheirCategoriesCountsLive();
    void clicksMoveBetweenTabsAndTheSearchPage();
    void keysMoveBetweenTabsAndTheSearchPage();
    void escapeOrCtrlWClosesTheWindow_data();
    void escapeOrCtrlWClosesTheWindow();
    void searchShowsWhyAndHowManyMatched_data();
    void searchShowsWhyAndHowManyMatched();
    void theFrameComesBackAtTheNextLaunch();

private:
    // Opens the window and waits for its tabs.
    std::unique_ptr<MainWindowController> openLoaded()
    {
        auto window = m_fixture->open();
        window->show();
        if (!QTest::qWaitForWindowActive(window.get()) ||
            !QTest::qWaitFor([&] { return !window->contentViewController().pages().isEmpty(); }))
            return nullptr;
        return window;
    }
    template <class T> static T* part(QWidget* window, const QString& name)
    {
        return window->findChild<T*>(name);
    }
    static QWidget* currentPage(QWidget* window)
    {
        return part<QStackedWidget>(window, u"tabView"_s)->currentWidget();
    }

    std::unique_ptr<MainWindowFixture> m_fixture;
};

void TestMainWindow::theSpinnerStaysAtLeastHalfASecond_data()
{
    QTest::addColumn<double>("loadSeconds");
    QTest::addColumn<int>("waitMs");
    QTest::newRow("quick load waits the rest") << 0.1 << 400;
    QTest::newRow("slow load shows at once") << 2.0 << 0;
}

void TestMainWindow::theSpinnerStaysAtLeastHalfASecond()
{
    QFETCH(double, loadSeconds);
    QFETCH(int, waitMs);
    auto window = m_fixture->open();
    // The load completes on a later turn of the event loop, by when this much time has passed.
    m_fixture->clock.time += loadSeconds;
    auto* tabs = part<QWidget>(window.get(), u"tabItemsContainer"_s);
    auto* spinner = part<QProgressBar>(window.get(), u"loadingView"_s);
    auto* timer = window->findChild<QTimer*>(u"tabBuildTimer"_s);
    QVERIFY(tabs->isHidden());
    QVERIFY(!spinner->isHidden());

    QTRY_VERIFY(timer->isActive() || !tabs->isHidden());
    QCOMPARE(timer->interval(), waitMs);
    if (waitMs > 0) {
        QVERIFY(tabs->isHidden());
        QVERIFY(!spinner->isHidden());
    }
    QTRY_VERIFY(!tabs->isHidden());
    QVERIFY(spinner->isHidden());
    const ViewController& controller = window->contentViewController();
    QCOMPARE(controller.selectedTab(), 0);
    QCOMPARE(currentPage(window.get()), controller.pages().at(0));
}

void TestMainWindow::aWindowMadeLaterSharesTheFirstLoad_data()
{
    QTest::addColumn<bool>("loadedFirst");
    QTest::newRow("made after the load: tabs at once") << true;
    QTest::newRow("made during the load: tabs once it is done") << false;
}

// The history is loaded at start-up whether or not a window is made; the window made later
// loads nothing of its own and shows what that load found.
void TestMainWindow::aWindowMadeLaterSharesTheFirstLoad()
{
    QFETCH(bool, loadedFirst);
    QVERIFY(m_fixture->list.add(PBContentTypeText, u"kept"_s));
    QVERIFY(m_fixture->list.add(PBContentTypeURL, u"https://example.org"_s));
    DBManager& store = m_fixture->list.manager();
    QSignalSpy loads(&store, &DBManager::itemsFetched);
    store.loadOnce({});
    if (loadedFirst)
        QTRY_VERIFY(store.isLoaded());
    auto window = m_fixture->open();
    const ViewController& controller = window->contentViewController();
    auto* tabs = part<QWidget>(window.get(), u"tabItemsContainer"_s);
    QCOMPARE(tabs->isHidden(), !loadedFirst);
    QCOMPARE(controller.pages().size(), loadedFirst ? 7 : 0);

    QTRY_VERIFY(!tabs->isHidden());
    QVERIFY(part<QProgressBar>(window.get(), u"loadingView"_s)->isHidden());
    QCOMPARE(controller.allTabItems().at(0)->count(), 2);
    QCOMPARE(controller.pages().at(0)->listViewController()->contents()->rowCount(), 2);
    QCOMPARE(controller.allTabItems().at(4)->count(), 1);
    QCOMPARE(loads.size(), 1);
}

void TestMainWindow::tabsShowTheirCategoriesCountsLive()
{
    QVERIFY(m_fixture->list.add(PBContentTypeText, u"kept"_s));
    auto window = openLoaded();
    QVERIFY(window);
    const ViewController& controller = window->contentViewController();
    const QStringList titles{u"Recents"_s, u"Marked"_s, u"Text"_s, u"Image"_s, u"URL"_s, u"File"_s};
    const QList<Category> categories{Category::Recents, Category::Marked, Category::Text,
                                     Category::Image,   Category::URL,    Category::File};
    for (int i = 0; i < 6; ++i) {
        QCOMPARE(controller.allTabItems().at(i)->title(), titles.at(i));
        QCOMPARE(controller.pages().at(i)->fetchCategory(), categories.at(i));
    }
    QCOMPARE(controller.searchVC()->fetchCategory(), Category::Search);
    QCOMPARE(controller.allTabItems().at(0)->count(), 1);

    QVERIFY(m_fixture->list.add(PBContentTypeURL, u"https://example.org"_s));
    QVERIFY(m_fixture->list.add(PBContentTypeText, u"again"_s));
    DBManager& store = m_fixture->list.manager();
    QTRY_COMPARE(controller.allTabItems().at(0)->count(), 3);
    for (int i = 0; i < 6; ++i) {
        const Category category = categories.at(i);
        QCOMPARE(controller.allTabItems().at(i)->count(), store.items(category).size());
        QCOMPARE(controller.pages().at(i)->listViewController()->contents()->rowCount(),
                 store.items(category).size());
    }
}

void TestMainWindow::clicksMoveBetweenTabsAndTheSearchPage()
{
    auto window = openLoaded();
    QVERIFY(window);
    const ViewController& controller = window->contentViewController();
    auto* search = part<MySearchField>(window.get(), u"searchField"_s);
    QCOMPARE(search->accessibleName(), u"Search"_s);

    QTest::mouseClick(search, Qt::LeftButton);
    QCOMPARE(currentPage(window.get()), controller.searchVC());
    QCOMPARE(controller.selectedTab(), -1);
    QTest::keyClicks(search, u"abc"_s);
    QCOMPARE(controller.searchVC()->keyword(), u"abc"_s);

    QTest::mouseClick(controller.allTabItems().at(1), Qt::LeftButton);
    QCOMPARE(currentPage(window.get()), controller.pages().at(1));
    QCOMPARE(controller.selectedTab(), 1);
    QVERIFY(!search->hasFocus());
    QCOMPARE(search->text(), QString());
    QCOMPARE(controller.searchVC()->keyword(), QString());

    // Focus that arrives without a click leaves the page alone.
    search->setFocus(Qt::TabFocusReason);
    QVERIFY(search->hasFocus());
    QCOMPARE(currentPage(window.get()), controller.pages().at(1));
}

void TestMainWindow::keysMoveBetweenTabsAndTheSearchPage()
{
    auto window = openLoaded();
    QVERIFY(window);
    const ViewController& controller = window->contentViewController();
    auto* search = part<MySearchField>(window.get(), u"searchField"_s);

    QTest::keyClick(window.get(), Qt::Key_4, Qt::ControlModifier);
    QCOMPARE(controller.selectedTab(), 3);
    QCOMPARE(currentPage(window.get()), controller.pages().at(3));
    QTest::keyClick(window.get(), Qt::Key_F, Qt::ControlModifier);
    QVERIFY(search->hasFocus());
    QCOMPARE(currentPage(window.get()), controller.searchVC());
    QCOMPARE(controller.selectedTab(), -1);
    QTest::keyClicks(search, u"needle"_s);
    QTest::keyClick(search, Qt::Key_Escape);
    QCOMPARE(controller.selectedTab(), 3);
    QCOMPARE(currentPage(window.get()), controller.pages().at(3));
    QCOMPARE(search->text(), QString());
    QVERIFY(window->isVisible());
}

void TestMainWindow::escapeOrCtrlWClosesTheWindow_data()
{
    QTest::addColumn<QKeyCombination>("key");
    QTest::newRow("Escape") << QKeyCombination(Qt::Key_Escape);
    QTest::newRow("Ctrl+W") << QKeyCombination(Qt::ControlModifier, Qt::Key_W);
}

void TestMainWindow::escapeOrCtrlWClosesTheWindow()
{
    QFETCH(QKeyCombination, key);
    auto window = openLoaded();
    QVERIFY(window);
    QTest::keyClick(window.get(), key.key(), key.keyboardModifiers());
    QTRY_VERIFY(!window->isVisible());
}

void TestMainWindow::searchShowsWhyAndHowManyMatched_data()
{
    const QString far = QString(400, u'x') + u" the needle at the end"_s;
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QString>("keyword");
    QTest::addColumn<QString>("countText");
    // The highlighted parts of the first result's line, as a 240 px row shows it.
    QTest::addColumn<QStringList>("highlighted");
    QTest::addColumn<bool>("startsLater");
    QTest::addColumn<QString>("hint");

    const QString noHint;
    QTest::newRow("every match, without case")
        << QStringList{u"Lorem ipsum"_s, u"a Quick quick fox"_s} << u"QUICK"_s << u"1 items"_s
        << QStringList{u"Quick"_s, u"quick"_s} << false << noHint;
    QTest::newRow("wildcards match what lies between")
        << QStringList{u"brown fox"_s, u"grey cat"_s} << u"b%n"_s << u"1 items"_s
        << QStringList{u"brown"_s} << false << noHint;
    QTest::newRow("one character wildcard")
        << QStringList{u"cat"_s, u"cut"_s, u"dog"_s} << u"c_t"_s << u"2 items"_s
        << QStringList{u"cut"_s} << false << noHint;
    QTest::newRow("a match far in shows its part")
        << QStringList{far} << u"needle"_s << u"1 items"_s << QStringList{u"needle"_s} << true
        << noHint;
    QTest::newRow("no match") << QStringList{u"alpha"_s} << u"zzz"_s << u"0 items"_s
                              << QStringList{} << false
                              << u"Nothing in the history matches \u201czzz\u201d"_s;
    QTest::newRow("empty search") << QStringList{u"alpha"_s} << QString() << QString()
                                  << QStringList{} << false
                                  << u"Type in the search field to search the whole history"_s;
}

// What the search page shows for a search text: the matches highlighted in the rows, the count
// beside the field, wording that fits a search when nothing is found; Escape then clears the
// text and returns to the tab shown before.
void TestMainWindow::searchShowsWhyAndHowManyMatched()
{
    QFETCH(QStringList, texts);
    QFETCH(QString, keyword);
    QFETCH(QString, countText);
    QFETCH(QStringList, highlighted);
    QFETCH(bool, startsLater);
    QFETCH(QString, hint);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    for (const QString& text : std::as_const(texts))
        QVERIFY(m_fixture->list.add(PBContentTypeText, text));
    auto window = openLoaded();
    QVERIFY(window);
    const ViewController& controller = window->contentViewController();
    auto* search = part<MySearchField>(window.get(), u"searchField"_s);
    auto* count = part<QLabel>(window.get(), u"resultCountLabel"_s);
    QTest::keyClick(window.get(), Qt::Key_3, Qt::ControlModifier);
    QTest::keyClick(window.get(), Qt::Key_F, Qt::ControlModifier);
    QTest::keyClicks(search, keyword);
    const HistoryListModel* results = controller.searchVC()->listViewController()->contents();
    if (keyword.isEmpty()) {
        QVERIFY(count->isHidden());
    } else {
        QTRY_COMPARE(count->text(), countText);
        QVERIFY(!count->isHidden());
    }

    if (!highlighted.isEmpty()) {
        const RowDescription line(results->index(0).data().toString(), keyword, window->font(),
                                  240);
        QStringList shown;
        for (const SearchMatch::Range& range : line.highlights())
            shown.append(line.shownText().mid(range.start, range.length));
        QCOMPARE(shown, highlighted);
        QCOMPARE(line.shownText().startsWith(QChar(0x2026)), startsLater);
    } else {
        const auto* empty = controller.searchVC()->findChild<EmptyView*>(u"emptyView"_s);
        QVERIFY(empty->isVisible());
        QCOMPARE(empty->findChild<QLabel*>(u"titleLabel"_s)->text(), u"No Result"_s);
        QCOMPARE(empty->findChild<QLabel*>(u"hintLabel"_s)->text(), hint);
    }

    QTest::keyClick(search, Qt::Key_Escape);
    QCOMPARE(controller.selectedTab(), 2);
    QCOMPARE(search->text(), QString());
    QVERIFY(count->isHidden());
    QCOMPARE(results->rowCount(), 0);
    QVERIFY(window->isVisible());
}

// The frame and the one divider between list and preview, which a drag on any page moves on
// every page; the window fits a 1280 x 800 screen at twice the scale.
void TestMainWindow::theFrameComesBackAtTheNextLaunch()
{
    QRect frame;
    int divider = 0;
    {
        auto window = openLoaded();
        QVERIFY(window);
        QVERIFY(window->minimumSize().width() <= 640 && window->minimumSize().height() <= 400);
        window->setGeometry(QRect(120, 90, 800, 500));
        const ViewController& controller = window->contentViewController();
        QSplitterHandle* handle =
            part<QSplitter>(controller.pages().at(0), u"splitter"_s)->handle(1);
        const QPoint grip = handle->rect().center();
        QTest::mousePress(handle, Qt::LeftButton, {}, grip);
        QTest::mouseMove(handle, grip + QPoint(-60, 0));
        QTest::mouseRelease(handle, Qt::LeftButton, {}, grip + QPoint(-60, 0));
        divider = controller.pages().at(0)->listWidth();
        QVERIFY(divider > 0);
        QCOMPARE(controller.listWidth(), divider);
        for (const CategoryViewController* page : controller.pages())
            QCOMPARE(page->listWidth(), divider);
        frame = window->geometry();
        window->close();
    }
    auto window = m_fixture->open();
    QCOMPARE(window->geometry().size(), frame.size());
    QCOMPARE(window->geometry().topLeft(), frame.topLeft());
    QCOMPARE(window->contentViewController().listWidth(), divider);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
