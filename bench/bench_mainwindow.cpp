// Figures for the main window, each beside a same-run baseline:
//   opening the window until its six tabs are painted, over 0, 100,000 and 1,000,000 stored items,
//   the load of the whole history included         [the load alone, then an empty window painted]
//   showing the window over 1,000,000 items loaded before it, as the application loads them at
//   start, until its six tabs are painted with their counts: what `--show-main` costs at most,
//   the window made then                           [the same over an empty history]
//   one keystroke in the search field until the results are listed, over 100,000 and 1,000,000
//                                                  [the same LIKE query on the raw file]
//   the longest the GUI thread is held while a word is typed into the search field at 1,000,000
//                                                  [the same window left alone as long]
// The tabs never show sooner than half a second after the load began, by design; the figure
// says how far past that a large history takes them. Runs on the offscreen platform unless
// QT_QPA_PLATFORM says otherwise.
#include "HistoryFixture.h"
#include "StallWatch.h"
#include "StoreFixture.h"
#include "browser/CategoryViewController.h"
#include "browser/HistoryListModel.h"
#include "browser/MainWindowController.h"
#include "browser/RowArtworkCache.h"
#include "browser/TabItemView.h"
#include "controls/MySearchField.h"
#include "shell/TimeUpdater.h"
#include "support/SqliteDatabase.h"
#include "support/SqliteStatement.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <array>
#include <cstdio>
#include <functional>

namespace {
struct Window
{
    StoreFixture store;
    TimeUpdater timeUpdater;
    RowArtworkCache artwork{QSize(40, 40)};
    QString folder = store.folder.filePath(QStringLiteral("history"));

    explicit Window(int rows)
    {
        QDir().mkpath(folder);
        HistoryFixture::generate(folder + QStringLiteral("/db.sqlite3"), rows);
        store.manager = store.makeManager(folder);
    }

    std::unique_ptr<MainWindowController> open()
    {
        return std::make_unique<MainWindowController>(
            ViewController::Services{*store.manager, store.watcher, timeUpdater, artwork,
                                     Clock::system()},
            store.folder.filePath(QStringLiteral("vantrel.conf")));
    }

    // The window shown, once its pages are made.
    std::unique_ptr<MainWindowController> openLoaded()
    {
        auto window = open();
        window->show();
        const ViewController& controller = window->contentViewController();
        (void)QTest::qWaitFor([&] { return !controller.pages().isEmpty(); }, 600'000);
        return window;
    }
};

double loadMs(DBManager& manager)
{
    QElapsedTimer timer;
    timer.start();
    bool done = false;
    manager.fetchAllItems([&done] { done = true; });
    (void)QTest::qWaitFor([&done] { return done; }, 600'000);
    return timer.nsecsElapsed() / 1e6;
}

double emptyWindowPaintMs()
{
    QElapsedTimer timer;
    timer.start();
    QWidget window;
    window.resize(960, 620);
    window.show();
    window.repaint();
    return timer.nsecsElapsed() / 1e6;
}

void benchOpen(int rows, const char* name)
{
    Window fixture(rows);
    QElapsedTimer timer;
    timer.start();
    auto window = fixture.open();
    window->show();
    ViewController& controller = window->contentViewController();
    (void)QTest::qWaitFor([&] { return !controller.pages().isEmpty(); }, 600'000);
    window->repaint();
    const double ours = timer.nsecsElapsed() / 1e6;
    window.reset();
    HistoryFixture::report(name, ours, loadMs(*fixture.store.manager) + emptyWindowPaintMs());
}

// From making the window over a loaded history to its six tabs painted with the store's counts.
double showLoadedMs(Window& fixture)
{
    DBManager& store = *fixture.store.manager;
    QElapsedTimer timer;
    timer.start();
    auto window = fixture.open();
    window->show();
    const ViewController& controller = window->contentViewController();
    // The tabs in display order.
    const std::array<Category, 6> categories{Category::Recents, Category::Marked, Category::Text,
                                             Category::Image,   Category::URL,    Category::File};
    (void)QTest::qWaitFor(
        [&] {
            const QList<TabItemView*> tabs = controller.allTabItems();
            for (int i = 0; i < int(categories.size()); ++i) {
                if (controller.pages().isEmpty() ||
                    tabs.at(i)->count() != store.count(categories[i]).value())
                    return false;
            }
            return true;
        },
        600'000);
    window->repaint();
    return timer.nsecsElapsed() / 1e6;
}

void benchShowLoaded(int rows, const char* name)
{
    Window fixture(rows);
    loadMs(*fixture.store.manager);
    Window empty(0);
    loadMs(*empty.store.manager);
    const double baseline = showLoadedMs(empty);
    HistoryFixture::report(name, showLoadedMs(fixture), baseline);
}

double rawLikeMs(const QString& dbPath, const QString& text)
{
    QElapsedTimer timer;
    timer.start();
    SqliteDatabase db;
    db.open(dbPath);
    SqliteStatement query(
        db, QStringLiteral("SELECT * FROM pb_items WHERE keyword LIKE ? ORDER BY date DESC"));
    query.bind(1, QLatin1Char('%') + text + QLatin1Char('%'));
    while (query.step()) {
    }
    return timer.nsecsElapsed() / 1e6;
}

void benchSearch(int rows, const char* name)
{
    Window fixture(rows);
    const auto window = fixture.openLoaded();
    ViewController& controller = window->contentViewController();
    auto* field = window->findChild<MySearchField*>(QStringLiteral("searchField"));
    const HistoryListModel* results = controller.searchVC()->listViewController()->contents();
    controller.showSearchPage();
    QTest::keyClicks(field, QStringLiteral("re"));
    (void)QTest::qWaitFor([&] { return results->rowCount() > 0; }, 600'000);
    QElapsedTimer timer;
    timer.start();
    const int before = results->rowCount();
    QTest::keyClick(field, Qt::Key_V);
    (void)QTest::qWaitFor([&] { return results->rowCount() != before; }, 600'000);
    window->repaint();
    const double ours = timer.nsecsElapsed() / 1e6;
    HistoryFixture::report(name, ours,
                           rawLikeMs(fixture.store.manager->dbPath(), QStringLiteral("rev")));
}
// The longest gap between the ticks of a 1 ms timer on the GUI thread while `act` runs and the
// event loop is then left to run for `settle` ms.
double longestStallMs(const std::function<void()>& act, int settle)
{
    StallWatch watch;
    act();
    QTest::qWait(settle);
    return watch.worstMs();
}

void benchTyping(int rows, const char* name)
{
    Window fixture(rows);
    const auto window = fixture.openLoaded();
    ViewController& controller = window->contentViewController();
    auto* field = window->findChild<MySearchField*>(QStringLiteral("searchField"));
    controller.showSearchPage();
    const QString word = QStringLiteral("review");
    const double idle = longestStallMs([] {}, 3000 + 120 * int(word.size()));
    const double ours = longestStallMs(
        [&] {
            for (const QChar letter : word) {
                QTest::keyClicks(field, QString(letter));
                QTest::qWait(120);
            }
        },
        3000);
    HistoryFixture::report(name, ours, idle);
}
} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("vantrel.*=false"));
    benchOpen(0, "open to six tabs painted, 0 items");
    benchOpen(100'000, "open to six tabs painted, 100,000 items");
    benchOpen(1'000'000, "open to six tabs painted, 1,000,000 items");
    benchShowLoaded(1'000'000, "show, loaded, to six tabs, 1,000,000");
    benchSearch(100'000, "one keystroke's search, 100,000 items");
    benchSearch(1'000'000, "one keystroke's search, 1,000,000 items");
    benchTyping(1'000'000, "longest GUI stall typing a word, 1,000,000 items");
    return 0;
}
