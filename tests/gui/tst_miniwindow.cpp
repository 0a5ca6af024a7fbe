#include "ListFixture.h"
#include "browser/HistoryListModel.h"
#include "browser/HistoryListView.h"
#include "browser/PreviewPreparation.h"
#include "browser/PreviewViewController.h"
#include "browser/TextPreviewView.h"
#include "controls/HighlightButton.h"
#include "controls/MySearchField.h"
#include "mini/MiniViewController.h"
#include "mini/MiniWindowController.h"
#include "mini/PreviewPopover.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;

namespace {
QImage imageOf(const QIcon& icon)
{
    return icon.pixmap(20).toImage();
}
} // namespace

// The mini window on a store in a temporary folder holding three text items.
class TestMiniWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void theVisibleListFollowsTheSearchText();
    void spacePreviewsTheVisibleListsItem_data();
    void spacePreviewsTheVisibleListsItem();
    void spaceInTheSearchFieldIsText();
    void downThenEnterCopiesTheRowAndCloses_data();
    void downThenEnterCopiesTheRowAndCloses();
    void enterInTheFieldChoosesTheFirstResult_data();
    void enterInTheFieldChoosesTheFirstResult();
    void theLastSearchIsSelectedWhenTheWindowComesBack();
    void pinTogglesTheWindowLevelAndTheImage();
    void thePreviewStaysWholeOnTheScreen_data();
    void thePreviewStaysWholeOnTheScreen();

private:
    MiniViewController& content() { return m_window->contentViewController(); }
    // Selects the row showing `text` in `list`, as the program does: nothing is copied.
    static void select(CategoryListViewController& list, const QString& text);

    std::unique_ptr<ListFixture> m_fixture;
    std::unique_ptr<QTemporaryDir> m_config;
    std::unique_ptr<MiniWindowController> m_window;
};

void TestMiniWindow::init()
{
    m_fixture = std::make_unique<ListFixture>();
    for (const QString& text : {u"apple pie"_s, u"banana bread"_s, u"apple tart"_s})
        QVERIFY(m_fixture->add(PBContentTypeText, text));
    QVERIFY(m_fixture->load());
    m_config = std::make_unique<QTemporaryDir>();
    m_window = std::make_unique<MiniWindowController>(m_fixture->services(),
                                                      m_config->filePath(u"vantrel.conf"_s));
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    QTRY_COMPARE(content().allListViewController()->contents()->rowCount(), 3);
}

void TestMiniWindow::cleanup()
{
    m_window.reset();
    m_config.reset();
    m_fixture.reset();
}

void TestMiniWindow::select(CategoryListViewController& list, const QString& text)
{
    const HistoryListModel& model = *list.contents();
    for (int row = 0; row < model.rowCount(); ++row) {
        if (list.contentWithRow(row)->keyword() == text) {
            list.tableView()->setCurrentIndex(model.index(row, 0));
            return;
        }
    }
    QFAIL(qPrintable(u"no row shows "_s + text));
}

void TestMiniWindow::theVisibleListFollowsTheSearchText()
{
    CategoryListViewController* all = content().allListViewController();
    CategoryListViewController* search = content().searchListViewController();
    QAbstractItemModelTester tester(search->contents(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    QVERIFY(all->isVisible());
    QVERIFY(!search->isVisible());
    QVERIFY(content().searchField()->hasFocus());

    QTest::keyClicks(content().searchField(), u"apple"_s);
    QVERIFY(search->isVisible());
    QVERIFY(!all->isVisible());
    QCOMPARE(content().visibleList(), search);
    QTRY_COMPARE(search->contents()->rowCount(), 2);

    content().searchField()->clear();
    QVERIFY(all->isVisible());
    QVERIFY(!search->isVisible());
    QCOMPARE(content().visibleList(), all);
    QTRY_COMPARE(search->contents()->rowCount(), 0);
}

void TestMiniWindow::spacePreviewsTheVisibleListsItem_data()
{
    QTest::addColumn<QString>("searchText");
    QTest::addColumn<QString>("expected");

    QTest::newRow("the whole history") << QString() << u"banana bread"_s;
    QTest::newRow("the search results") << u"apple"_s << u"apple pie"_s;
}

// Each list has a different current item; Space shows the visible one's.
void TestMiniWindow::spacePreviewsTheVisibleListsItem()
{
    QFETCH(QString, searchText);
    QFETCH(QString, expected);

    CategoryListViewController* search = content().searchListViewController();
    QTest::keyClicks(content().searchField(), u"apple"_s);
    QTRY_COMPARE(search->contents()->rowCount(), 2);
    select(*search, u"apple pie"_s);
    content().searchField()->setText(searchText);
    select(*content().allListViewController(), u"banana bread"_s);
    if (!searchText.isEmpty())
        select(*search, u"apple pie"_s);

    HistoryListView* table = content().visibleList()->tableView();
    table->setFocus();
    QSignalSpy shown(content().previewVC(), &PreviewViewController::previewShown);
    QTest::keyClick(table, Qt::Key_Space);
    QVERIFY(content().popover()->isVisible());
    QCOMPARE(content().popover()->height(), MiniViewController::popoverSize.height());
    QVERIFY(!content().popover()->frameGeometry().intersects(m_window->frameGeometry()));
    QTRY_COMPARE(shown.count(), 1);
    QCOMPARE(content().previewVC()->textView()->toPlainText(), expected);

    QTest::keyClick(content().popover(), Qt::Key_Escape);
    QVERIFY(!content().popover()->isVisible());
    QVERIFY(m_window->isVisible());
}

void TestMiniWindow::spaceInTheSearchFieldIsText()
{
    select(*content().allListViewController(), u"apple pie"_s);
    content().searchField()->setFocus();
    QTest::keyClicks(content().searchField(), u"apple t"_s);
    QCOMPARE(content().searchField()->text(), u"apple t"_s);
    QVERIFY(!content().popover()->isVisible());
}

void TestMiniWindow::downThenEnterCopiesTheRowAndCloses_data()
{
    QTest::addColumn<int>("chosenRow");
    QTest::addColumn<QByteArray>("copied");
    QTest::newRow("nothing chosen: the first row") << -1 << "apple tart"_ba;
    QTest::newRow("a row chosen: that row stays") << 1 << "apple pie"_ba;
}

// Down from the field moves into the results, choosing (and copying) the first row unless the
// user already chose one; Enter copies the current row and closes the window.
void TestMiniWindow::downThenEnterCopiesTheRowAndCloses()
{
    QFETCH(int, chosenRow);
    QFETCH(QByteArray, copied);
    CategoryListViewController* search = content().searchListViewController();
    QTest::keyClicks(content().searchField(), u"apple"_s);
    QTRY_COMPARE(search->contents()->rowCount(), 2);
    PasteboardMemory& pasteboard = m_fixture->store.pasteboard;
    if (chosenRow >= 0) {
        ListFixture::clickRow(*search, chosenRow);
        content().searchField()->setFocus();
    }
    const qint64 writesBefore = pasteboard.changeCount();

    QTest::keyClick(content().searchField(), Qt::Key_Down);
    QVERIFY(search->tableView()->hasFocus());
    QCOMPARE(search->currentContent().value()->keyword().toUtf8(), copied);
    QCOMPARE(pasteboard.changeCount() - writesBefore, chosenRow >= 0 ? 0 : 1);
    QTest::keyClick(search->tableView(), Qt::Key_Return);
    QVERIFY(!m_window->isVisible());
    const QList<PasteboardItem> items = pasteboard.pasteboardItems();
    QCOMPARE(items.size(), 1);
    QCOMPARE(items.first().dataForType(PasteboardTypes::string), copied);
}

void TestMiniWindow::enterInTheFieldChoosesTheFirstResult_data()
{
    QTest::addColumn<QStringList>("types");
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<bool>("plainText");
    QTest::addColumn<QStringList>("copiedTypes");
    QTest::addColumn<QByteArray>("copied");
    QTest::addColumn<bool>("closes");

    const QStringList html{PasteboardTypes::html};
    const QByteArray page = "<p>bold <b>move</b></p>"_ba;
    QTest::newRow("Enter: the whole item") << html << page << false << html << page << true;
    QTest::newRow("Shift+Enter: a rich text's text")
        << html << page << true << QStringList{PasteboardTypes::string} << "bold move"_ba << true;
    QTest::newRow("Shift+Enter: the plain form where there is one")
        << QStringList{PasteboardTypes::html, PasteboardTypes::string} << page << true
        << QStringList{PasteboardTypes::string} << page << true;
    QTest::newRow("Shift+Enter: an RTF's text")
        << QStringList{PasteboardTypes::rtf} << R"({\rtf1\ansi rich {\b text}\par})"_ba << true
        << QStringList{PasteboardTypes::string} << "rich text"_ba << true;
    QTest::newRow("Shift+Enter: files as their paths")
        << QStringList{PasteboardTypes::fileUrl} << "file:///tmp/a%20b.txt"_ba << true
        << QStringList{PasteboardTypes::string} << "/tmp/a b.txt"_ba << true;
    // Past a preview's bound the item is read on a pool thread and written when it has been read.
    const QByteArray large = "<p>zebra</p>"_ba.repeated(PreviewPreparation::previewBytes / 10);
    QTest::newRow("Enter: a large item") << html << large << false << html << large << true;
    QTest::newRow("Shift+Enter: a large rich text's text")
        << html << large << true << QStringList{PasteboardTypes::string}
        << "zebra\n"_ba.repeated(PreviewPreparation::previewBytes / 10).chopped(1) << true;
    QTest::newRow("Shift+Enter: an image is only selected")
        << QStringList{PasteboardTypes::png} << "not a picture"_ba << true
        << QStringList{PasteboardTypes::png} << "not a picture"_ba << false;
}

// Enter in the field, with no Down first, chooses the first result; Shift+Enter its plain text
// alone. Nothing else is recorded or changed in the history.
void TestMiniWindow::enterInTheFieldChoosesTheFirstResult()
{
    QFETCH(QStringList, types);
    QFETCH(QByteArray, payload);
    QFETCH(bool, plainText);
    QFETCH(QStringList, copiedTypes);
    QFETCH(QByteArray, copied);
    QFETCH(bool, closes);
    const PBContentType kind = types.first() == PasteboardTypes::fileUrl ? PBContentTypeFile
                               : types.first() == PasteboardTypes::png   ? PBContentTypeImage
                                                                         : PBContentTypeText;
    PBContentPtr item = ListFixture::makeItem(kind, u"zebra"_s);
    item->setPasteboardTypes(types);
    item->setDataArray(QList<QByteArray>(types.size(), payload));
    QVERIFY(m_fixture->add(item));
    QTRY_COMPARE(content().allListViewController()->contents()->rowCount(), 4);

    QTest::keyClicks(content().searchField(), u"zebra"_s);
    CategoryListViewController* search = content().searchListViewController();
    QTRY_COMPARE(search->contents()->rowCount(), 1);
    QTest::keyClick(content().searchField(), Qt::Key_Return,
                    plainText ? Qt::ShiftModifier : Qt::NoModifier);
    QTRY_COMPARE(m_window->isVisible(), !closes);
    const auto copiedNow = [this, &copiedTypes] {
        const QList<PasteboardItem> items = m_fixture->store.pasteboard.pasteboardItems();
        return !items.isEmpty() && items.first().types() == copiedTypes;
    };
    QTRY_VERIFY(copiedNow());
    const QList<PasteboardItem> items = m_fixture->store.pasteboard.pasteboardItems();
    QCOMPARE(items.size(), 1);
    QCOMPARE(items.first().types(), copiedTypes);
    QCOMPARE(items.first().dataForType(copiedTypes.first()), copied);
    QCOMPARE(m_fixture->manager().recentItems().size(), 4);
}

void TestMiniWindow::theLastSearchIsSelectedWhenTheWindowComesBack()
{
    QTest::keyClicks(content().searchField(), u"apple"_s);
    m_window->close();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    QVERIFY(content().searchField()->hasFocus());
    QCOMPARE(content().searchField()->selectedText(), u"apple"_s);
    QTest::keyClicks(content().searchField(), u"banana"_s);
    QCOMPARE(content().searchField()->text(), u"banana"_s);
}

void TestMiniWindow::pinTogglesTheWindowLevelAndTheImage()
{
    HighlightButton* pin = content().pinButton();
    const QIcon pinned(u":/icons/pin_s.svg"_s);
    const QIcon unpinned(u":/icons/pin_n.svg"_s);
    QCOMPARE(imageOf(pin->image()), imageOf(unpinned));
    QVERIFY(!m_window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));

    QTest::mouseClick(pin, Qt::LeftButton);
    QVERIFY(content().pin());
    QVERIFY(m_window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(m_window->isVisible());
    QCOMPARE(imageOf(pin->image()), imageOf(pinned));
    QCOMPARE(pin->accessibleName(), u"Unpin"_s);

    QTest::mouseClick(pin, Qt::LeftButton);
    QVERIFY(!content().pin());
    QVERIFY(!m_window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(imageOf(pin->image()), imageOf(unpinned));
    QCOMPARE(pin->accessibleName(), u"Pin"_s);
}

void TestMiniWindow::thePreviewStaysWholeOnTheScreen_data()
{
    QTest::addColumn<QRect>("window");
    QTest::addColumn<QRect>("anchor");
    QTest::addColumn<QRect>("expected");

    // On a 1280 x 800 screen, a 600 x 600 popup beside a 380 x 540 mini window.
    QTest::newRow("room on the right: beside the row")
        << QRect(100, 50, 380, 540) << QRect(100, 130, 380, 80) << QRect(480, 130, 600, 600);
    QTest::newRow("room on the left only")
        << QRect(880, 200, 380, 540) << QRect(880, 300, 380, 80) << QRect(280, 200, 600, 600);
    QTest::newRow("room on neither side: narrowed on the wider one")
        << QRect(400, 100, 380, 540) << QRect(400, 150, 380, 80) << QRect(780, 150, 500, 600);
    QTest::newRow("a low row: pushed up onto the screen")
        << QRect(0, 250, 380, 540) << QRect(0, 700, 380, 80) << QRect(380, 200, 600, 600);
}

void TestMiniWindow::thePreviewStaysWholeOnTheScreen()
{
    QFETCH(QRect, window);
    QFETCH(QRect, anchor);
    QFETCH(QRect, expected);

    const QRect screen(0, 0, 1280, 800);
    const QRect frame =
        PreviewPopover::placement(window, anchor, MiniViewController::popoverSize, screen);
    QCOMPARE(frame, expected);
    QVERIFY(screen.contains(frame));
    QVERIFY(!frame.intersects(window));
}

QTEST_MAIN(TestMiniWindow)
#include "tst_miniwindow.moc"
