#include "ClipOwner.h"
#include "KeyPresses.h"
#include "LogRecorder.h"
#include "X11History.h"
#include "browser/CategoryListViewController.h"
#include "browser/HistoryListModel.h"
#include "browser/HistoryListView.h"
#include "browser/RowArtworkCache.h"
#include "browser/ViewController.h"
#include "item/PBTextContent.h"
#include "platform/ApplicationStateQt.h"
#include "platform/PasteboardTypes.h"
#include "platform/doubles/WorkspaceNull.h"
#include "platform/x11/PasteboardX11.h"
#include "recording/CapturePipeline.h"
#include "recording/PBContentComparer.h"
#include "recording/PBWatcher.h"
#include "shell/TimeUpdater.h"
#include "storage/DBManager.h"
#include "storage/DataManager.h"
#include "storage/SettingsModel.h"
#include "support/Clock.h"
#include "support/MessageChannelNull.h"
#include "support/SqliteDatabase.h"
#include "support/SqliteStatement.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLoggingCategory>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;

namespace {
// Starting windows and the window manager's answers can take long on a loaded machine.
constexpr int busyMachineMs = 20'000;

// The clipboard as another application reads it.
QByteArray clipboardAs(const QString& target)
{
    QProcess xclip;
    xclip.start(u"xclip"_s, {u"-o"_s, u"-selection"_s, u"clipboard"_s, u"-t"_s, target});
    if (!QTest::qWaitFor([&] { return xclip.state() == QProcess::NotRunning; }, 10'000))
        return "(no answer)";
    return xclip.readAllStandardOutput();
}

int storedRows(const QString& dbPath)
{
    SqliteDatabase db;
    if (!db.open(dbPath))
        return -1;
    SqliteStatement statement(db, u"SELECT COUNT(*) AS n FROM pb_items"_s);
    return statement.step() ? int(statement.integer("n")) : -1;
}

// The application's capture and history services on a real history file and the real X11
// clipboard, with lists side by side in a window: Recents, Text and a search list.
struct Application : X11History
{
    // Carries the capture; its own window stays closed.
    std::unique_ptr<ViewController> controller;
    std::unique_ptr<QWidget> window;
    CategoryListViewController* recents = nullptr;
    CategoryListViewController* text = nullptr;
    CategoryListViewController* search = nullptr;

    // Stores text items (oldest first), then opens the window over them and activates it.
    bool open(const QList<QList<std::pair<QString, QByteArray>>>& items)
    {
        double date = Clock::system().now() - 3600;
        for (const auto& payloads : items) {
            if (!storeItem(payloads, date += 60))
                return false;
        }
        controller = std::make_unique<ViewController>(viewServices());
        window = std::make_unique<QWidget>();
        auto* layout = new QHBoxLayout(window.get());
        const CategoryListViewController::Services services{store, watcher, timeUpdater, artwork};
        recents = new CategoryListViewController(Category::Recents, services);
        text = new CategoryListViewController(Category::Text, services);
        search = new CategoryListViewController(Category::Search, services);
        for (auto* list : {recents, text, search})
            layout->addWidget(list);
        window->resize(1100, 500);
        window->show();
        watcher.addObserver(&pipeline);
        watcher.startWatch();
        const bool exposed = QTest::qWaitForWindowExposed(window.get());
        const bool loaded = QTest::qWaitFor(
            [&] { return recents->contents()->rowCount() == items.size(); }, busyMachineMs);
        const bool activated = activateWindow(window->winId());
        const bool active = QTest::qWaitFor([this] { return state.isActive(); }, busyMachineMs);
        if (!(exposed && loaded && activated && active))
            qWarning() << "window exposed" << exposed << "loaded" << loaded << "activated"
                       << activated << "active" << active;
        return exposed && loaded && activated && active;
    }

    bool storeItem(const QList<std::pair<QString, QByteArray>>& payloads, double date)
    {
        auto item = PBContent::createInstance<PBTextContent>();
        item->date = date;
        QList<QByteArray> data;
        QStringList types;
        for (const auto& [type, bytes] : payloads) {
            types.append(type);
            data.append(bytes);
        }
        item->setPasteboardTypes(types);
        item->setKeyword(QString::fromUtf8(data.last()));
        item->setDataArray(data);
        item->setDataPathArray(dataManager.saveDataOfContent(*item));
        std::optional<bool> written;
        store.insertPbContent(item, [&written](bool ok) { written = ok; });
        return QTest::qWaitFor([&written] { return written.has_value(); }) && *written;
    }

    QModelIndex selected(CategoryListViewController& list) const
    {
        const QModelIndexList rows = list.tableView()->selectionModel()->selectedRows();
        return rows.isEmpty() ? QModelIndex() : rows.first();
    }

    void click(CategoryListViewController& list, int row) const
    {
        HistoryListView* view = list.tableView();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->visualRect(list.contents()->index(row)).center() - QPoint(80, 0));
    }

    // Waits until the watcher has looked at the clipboard's latest change.
    bool watcherCaughtUp() const
    {
        return QTest::qWaitFor(
            [this] { return LogRecorder::lastCountSeen() >= pasteboard.changeCount(); });
    }
};

std::pair<QString, QByteArray> plain(const QByteArray& text)
{
    return {PasteboardTypes::string, text};
}
} // namespace

class TestCategoryListE2E : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QCOMPARE(QGuiApplication::platformName(), u"xcb"_s);
        QLoggingCategory::setFilterRules(u"vantrel.capture.info=true"_s);
        LogRecorder::install();
    }
    void init() { m_app = std::make_unique<Application>(); }
    void cleanup() { m_app.reset(); }

    void selectingARowWritesEachTypeBackWithoutRecordingIt();
    void arrowKeysCopyEachItemPassedOver();
    void backspaceDeletesTheItemAndASecondDoesNothing();
    void ascendingOrderShowsTheOldestFirst();
    void aCaptureElsewhereLeavesTheSelectionAndTheClipboard();
    void aDeletionInOneListLeavesTheOthers();
    void choosingRowsWhileAnotherWindowIsActiveRecordsNothing_data();
    void choosingRowsWhileAnotherWindowIsActiveRecordsNothing();

private:
    std::unique_ptr<Application> m_app;
};

void TestCategoryListE2E::selectingARowWritesEachTypeBackWithoutRecordingIt()
{
    QVERIFY(
        m_app->open({{plain("older")}, {{PasteboardTypes::html, "<b>bold</b>"}, plain("bold")}}));
    const int rows = storedRows(m_app->store.dbPath());

    m_app->click(*m_app->recents, 0);

    QTRY_COMPARE(clipboardAs(u"text/html"_s), "<b>bold</b>"_ba);
    QCOMPARE(clipboardAs(u"text/plain"_s), "bold"_ba);
    QCOMPARE(clipboardAs(u"UTF8_STRING"_s), "bold"_ba);
    QVERIFY(m_app->watcherCaughtUp());
    QCOMPARE(m_app->store.recentItems().size(), 2);
    QCOMPARE(storedRows(m_app->store.dbPath()), rows);
}

void TestCategoryListE2E::arrowKeysCopyEachItemPassedOver()
{
    QVERIFY(m_app->open({{plain("four")}, {plain("three")}, {plain("two")}, {plain("one")}}));
    m_app->click(*m_app->recents, 0);
    QTRY_COMPARE(clipboardAs(u"UTF8_STRING"_s), "one"_ba);
    for (const QByteArray& expected : {"two"_ba, "three"_ba, "four"_ba}) {
        QVERIFY(pressKeys(u"Down"_s));
        QTRY_COMPARE(clipboardAs(u"UTF8_STRING"_s), expected);
    }
    QVERIFY(m_app->watcherCaughtUp());
    QCOMPARE(storedRows(m_app->store.dbPath()), 4);
}

void TestCategoryListE2E::backspaceDeletesTheItemAndASecondDoesNothing()
{
    QVERIFY(m_app->open({{plain("kept")}, {plain("deleted")}}));
    m_app->click(*m_app->recents, 0);

    QVERIFY(pressKeys(u"BackSpace"_s));
    QTRY_COMPARE(storedRows(m_app->store.dbPath()), 1);
    QTRY_COMPARE(m_app->recents->contents()->rowCount(), 1);
    QCOMPARE(m_app->text->contents()->rowCount(), 1);
    // Delivered at once, so that nothing can still be on its way when the rows are counted.
    QTest::keyClick(m_app->recents->tableView(), Qt::Key_Backspace);
    QCOMPARE(storedRows(m_app->store.dbPath()), 1);
    QCOMPARE(m_app->recents->contentWithRow(0)->keyword(), u"kept"_s);
}

void TestCategoryListE2E::ascendingOrderShowsTheOldestFirst()
{
    QVERIFY(m_app->open({{plain("oldest")}, {plain("middle")}, {plain("newest")}}));
    m_app->recents->setAsc(true);
    QCOMPARE(m_app->recents->contentWithRow(0)->keyword(), u"oldest"_s);
    QCOMPARE(m_app->recents->contentWithRow(2)->keyword(), u"newest"_s);
    m_app->click(*m_app->recents, 0);
    QTRY_COMPARE(clipboardAs(u"UTF8_STRING"_s), "oldest"_ba);
}

void TestCategoryListE2E::aCaptureElsewhereLeavesTheSelectionAndTheClipboard()
{
    QVERIFY(m_app->open({{plain("first")}, {plain("picked")}, {plain("last")}}));
    m_app->click(*m_app->recents, 1);
    QTRY_COMPARE(clipboardAs(u"UTF8_STRING"_s), "picked"_ba);
    const PBContentPtr picked = m_app->recents->currentContent().value();

    ClipOwner other({{u"UTF8_STRING"_s, "other"_ba}}, {u"--map"_s, u"--keep"_s});
    QTRY_VERIFY(other.isReady());
    QVERIFY(activateWindow(other.window()));
    QTRY_VERIFY(!m_app->state.isActive());
    ClipOwner capture({{u"UTF8_STRING"_s, "captured elsewhere"_ba}});
    // The other application's own copy may be recorded too, depending on when it was seen.
    QTRY_COMPARE(m_app->recents->contentWithRow(0)->keyword(), u"captured elsewhere"_s);

    QCOMPARE(m_app->recents->currentContent().value(), picked);
    QCOMPARE(m_app->recents->contentWithRow(m_app->selected(*m_app->recents).row()), picked);
    QCOMPARE(clipboardAs(u"UTF8_STRING"_s), "captured elsewhere"_ba);
}

void TestCategoryListE2E::aDeletionInOneListLeavesTheOthers()
{
    QVERIFY(m_app->open({{plain("needle one")}, {plain("hay")}, {plain("needle two")}}));
    m_app->search->setKeyword(u"needle"_s);
    QTRY_COMPARE(m_app->search->contents()->rowCount(), 2);

    // Through the search list: gone from Recents and from the Text list.
    m_app->click(*m_app->search, 0);
    QTRY_COMPARE(clipboardAs(u"UTF8_STRING"_s), "needle two"_ba);
    QVERIFY(pressKeys(u"Delete"_s));
    QTRY_COMPARE(m_app->recents->contents()->rowCount(), 2);
    QCOMPARE(m_app->text->contents()->rowCount(), 2);
    QCOMPARE(m_app->recents->contentWithRow(0)->keyword(), u"hay"_s);

    // Through Recents: gone from the standing search.
    m_app->click(*m_app->recents, 1);
    QTRY_COMPARE(clipboardAs(u"UTF8_STRING"_s), "needle one"_ba);
    QVERIFY(pressKeys(u"BackSpace"_s));
    QTRY_COMPARE(m_app->search->contents()->rowCount(), 0);
    QCOMPARE(storedRows(m_app->store.dbPath()), 1);
}

void TestCategoryListE2E::choosingRowsWhileAnotherWindowIsActiveRecordsNothing_data()
{
    QTest::addColumn<QList<int>>("rows");
    QTest::newRow("one row") << QList<int>{1};
    QTest::newRow("two rows in a row") << QList<int>{1, 2};
}

// A copy-back is the program's own whichever window has the focus; the user's next copy counts.
void TestCategoryListE2E::choosingRowsWhileAnotherWindowIsActiveRecordsNothing()
{
    QFETCH(QList<int>, rows);
    // The other application's copy is on the clipboard before watching starts, so never recorded.
    const qint64 countBefore = m_app->pasteboard.changeCount();
    ClipOwner other({{u"UTF8_STRING"_s, "other"_ba}}, {u"--map"_s, u"--keep"_s});
    QTRY_VERIFY(other.isReady());
    QTRY_VERIFY(m_app->pasteboard.changeCount() > countBefore);
    QVERIFY(m_app->open({{plain("third")}, {plain("second")}, {plain("first")}}));
    QVERIFY(activateWindow(other.window()));
    QTRY_VERIFY(!m_app->state.isActive());
    const int stored = storedRows(m_app->store.dbPath());

    for (const int row : rows) {
        m_app->recents->chooseRow(row);
        QTRY_COMPARE(clipboardAs(u"UTF8_STRING"_s),
                     m_app->recents->contentWithRow(row)->keyword().toUtf8());
    }
    QVERIFY(m_app->watcherCaughtUp());
    QVERIFY(!m_app->state.isActive());

    ClipOwner copy({{u"UTF8_STRING"_s, "copied elsewhere"_ba}});
    QTRY_COMPARE(m_app->recents->contentWithRow(0)->keyword(), u"copied elsewhere"_s);
    QCOMPARE(storedRows(m_app->store.dbPath()), stored + 1);
}

QTEST_MAIN(TestCategoryListE2E)
#include "tst_categorylist_e2e.moc"
