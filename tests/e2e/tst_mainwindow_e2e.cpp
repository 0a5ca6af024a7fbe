#include "ClipOwner.h"
#include "X11History.h"
#include "browser/CategoryViewController.h"
#include "browser/HistoryListModel.h"
#include "browser/MainWindowController.h"
#include "browser/RowArtworkCache.h"
#include "browser/TabItemView.h"
#include "controls/MySearchField.h"
#include "platform/ApplicationStateQt.h"
#include "platform/doubles/WorkspaceNull.h"
#include "platform/x11/PasteboardX11.h"
#include "recording/PBWatcher.h"
#include "shell/Dialogs.h"
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
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <memory>

using namespace Qt::StringLiterals;

namespace {
constexpr int timeoutMs = 20'000;
// The tabs' categories in display order.
const QList<Category> tabCategories{Category::Recents, Category::Marked, Category::Text,
                                    Category::Image,   Category::URL,    Category::File};

// The stored rows of a category, counted in the history file itself.
qint64 storedRows(const QString& dbPath, Category category)
{
    SqliteDatabase db;
    if (!db.open(dbPath))
        return -1;
    QString sql = u"SELECT COUNT(*) AS n FROM pb_items"_s;
    if (category == Category::Marked)
        sql += u" WHERE marked = 1"_s;
    else if (category != Category::Recents)
        sql += u" WHERE type = %1"_s.arg(int(category) - 1);
    SqliteStatement statement(db, sql);
    return statement.step() ? statement.integer("n") : -1;
}
} // namespace

// The application's capture and history on a real history file and the real X11 clipboard,
// under the main window.
struct Application : X11History
{
    MainWindowController window{viewServices(), home.filePath(u"vantrel.conf"_s)};
    // Another application's window holds the focus, as when the user copies elsewhere.
    std::unique_ptr<ClipOwner> focus;

    ViewController& controller() { return window.contentViewController(); }

    bool open()
    {
        window.show();
        watcher.startWatch();
        focus = std::make_unique<ClipOwner>(ClipOwner::Formats{{u"text/plain"_s, "start"_ba}},
                                            QStringList{u"--map"_s, u"--keep"_s});
        return QTest::qWaitForWindowExposed(&window) &&
               QTest::qWaitFor([this] { return !controller().pages().isEmpty(); }) &&
               QTest::qWaitFor([this] { return focus->isReady() && !state.isActive(); });
    }

    bool copyText(const QByteArray& text)
    {
        ClipOwner owner({{u"text/plain"_s, text}});
        return QTest::qWaitFor([&owner] { return owner.isReady(); }) &&
               QTest::qWaitFor(
                   [this, &text] {
                       return !store.recentItems().isEmpty() &&
                              store.recentItems().first()->keyword() == QString::fromUtf8(text);
                   },
                   timeoutMs);
    }

    // Each tab's count, its page's rows and the stored rows of its kind agree.
    bool tabsAgreeWithTheFile()
    {
        for (int i = 0; i < tabCategories.size(); ++i) {
            const qint64 count = controller().allTabItems().at(i)->count();
            if (count != controller().pages().at(i)->listViewController()->contents()->rowCount() ||
                count != storedRows(store.dbPath(), tabCategories.at(i)))
                return false;
        }
        return true;
    }
};

class TestMainWindowE2E : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QCOMPARE(QGuiApplication::platformName(), u"xcb"_s); }
    void init() { m_app = std::make_unique<Application>(); }
    void cleanup()
    {
        Dialogs::setResponder({});
        m_app.reset();
    }

    void aCopyElsewhereIsCountedListedFoundAndCleared();
    void aFileCopiedElsewhereIsListedByItsNameAndFound();
    void countsStayRightUnderFiftyCopiesASecond();

private:
    std::unique_ptr<Application> m_app;
};

void TestMainWindowE2E::aCopyElsewhereIsCountedListedFoundAndCleared()
{
    QVERIFY(m_app->open());
    QVERIFY(m_app->copyText("https://example.org/first"));
    QVERIFY(m_app->copyText("an older text"));
    QTRY_VERIFY(m_app->tabsAgreeWithTheFile());
    ViewController& controller = m_app->controller();
    const QList<TabItemView*> tabs = controller.allTabItems();
    const qint64 recents = tabs.at(0)->count();
    const qint64 texts = tabs.at(2)->count();

    QVERIFY(m_app->copyText("fresh needle"));
    QTRY_COMPARE(tabs.at(0)->count(), recents + 1);
    QCOMPARE(tabs.at(2)->count(), texts + 1);
    QCOMPARE(tabs.at(4)->count(), 1);
    const HistoryListModel* recentRows = controller.pages().at(0)->listViewController()->contents();
    QCOMPARE(recentRows->contentWithRow(0)->keyword(), u"fresh needle"_s);

    auto* search = m_app->window.findChild<MySearchField*>(u"searchField"_s);
    QTest::mouseClick(search, Qt::LeftButton);
    QTest::keyClicks(search, u"needle"_s);
    const HistoryListModel* results = controller.searchVC()->listViewController()->contents();
    QTRY_COMPARE(results->rowCount(), 1);
    QCOMPARE(results->contentWithRow(0)->keyword(), u"fresh needle"_s);

    Dialogs::setResponder([](const Dialogs::Request&) { return 1; });
    controller.searchVC()->onEmptyButton();
    QTRY_COMPARE(tabs.at(0)->count(), recents);
    QCOMPARE(tabs.at(2)->count(), texts);
    QCOMPARE(results->rowCount(), 0);
    QVERIFY(m_app->tabsAgreeWithTheFile());
    QCOMPARE(recentRows->contentWithRow(0)->keyword(), u"an older text"_s);
}

// A file manager's copy of a file: the File page's row and the search result show its name.
void TestMainWindowE2E::aFileCopiedElsewhereIsListedByItsNameAndFound()
{
    QVERIFY(m_app->open());
    QTemporaryDir files;
    const QString path = files.filePath(u"Quarterly report.pdf"_s);
    QVERIFY(QFile(path).open(QIODevice::WriteOnly));
    const QByteArray uri = QUrl::fromLocalFile(path).toEncoded();
    ClipOwner owner({{u"x-special/gnome-copied-files"_s, "copy\n" + uri},
                     {u"text/uri-list"_s, uri + "\r\n"},
                     {u"text/plain"_s, path.toUtf8()}});
    ViewController& controller = m_app->controller();
    QTRY_COMPARE_WITH_TIMEOUT(controller.allTabItems().at(5)->count(), 1, timeoutMs);

    const HistoryListModel* fileRows = controller.pages().at(5)->listViewController()->contents();
    fileRows->data(fileRows->index(0), Qt::DisplayRole);
    QTRY_COMPARE(fileRows->data(fileRows->index(0), Qt::DisplayRole).toString(),
                 u"Quarterly report.pdf"_s);
    QCOMPARE(fileRows->artwork(fileRows->index(0))->fileIconNames.value(0), u"application-pdf"_s);

    auto* search = m_app->window.findChild<MySearchField*>(u"searchField"_s);
    QTest::mouseClick(search, Qt::LeftButton);
    QTest::keyClicks(search, u"report"_s);
    const HistoryListModel* results = controller.searchVC()->listViewController()->contents();
    QTRY_COMPARE(results->rowCount(), 1);
    results->data(results->index(0), Qt::DisplayRole);
    QTRY_COMPARE(results->data(results->index(0), Qt::AccessibleTextRole).toString(),
                 u"Quarterly report.pdf"_s);
}

void TestMainWindowE2E::countsStayRightUnderFiftyCopiesASecond()
{
    QVERIFY(m_app->open());
    // 500 copies, a fifth of them web addresses, from processes that each own the clipboard
    // until the next one takes it.
    QProcess copies;
    copies.start(u"sh"_s, {u"-c"_s, uR"(for i in $(seq 1 500); do
                                          if [ $((i % 5)) -eq 0 ]; then t="https://example.org/$i";
                                          else t="load $i"; fi
                                          printf '%s' "$t" | xclip -selection clipboard
                                          sleep 0.02
                                        done)"_s});
    QVERIFY(copies.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(copies.state() == QProcess::NotRunning, 120'000);
    QCOMPARE(copies.exitCode(), 0);
    QTRY_VERIFY_WITH_TIMEOUT(!m_app->store.recentItems().isEmpty() &&
                                 m_app->store.recentItems().first()->keyword() ==
                                     u"https://example.org/500"_s,
                             timeoutMs);
    QTRY_VERIFY(m_app->tabsAgreeWithTheFile());
    QVERIFY(m_app->controller().allTabItems().at(0)->count() > 20);
    QVERIFY(m_app->controller().allTabItems().at(4)->count() > 0);
    // The last xclip ends once another owner takes the clipboard.
    QVERIFY(m_app->copyText("done"));
}

QTEST_MAIN(TestMainWindowE2E)
#include "tst_mainwindow_e2e.moc"
