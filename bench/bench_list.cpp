// Figures for the history list, each beside a same-run baseline:
//   first painted rows of a list over 1,000,000 items after the load
//                              [a QListView over a plain model of as many rows]
//   scrolling 10,000 rows, worst and median frame          [the same plain list]
//   selecting a row until the clipboard is written         [reading the payload files]
//   resident memory after scrolling past 1,000 large pictures
//   resident memory over 1,000,000 items after scrolling the whole list, then after ten searches
//   of common words                                 [the same process after the load]
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include "HistoryFixture.h"
#include "StoreFixture.h"
#include "browser/CategoryListViewController.h"
#include "browser/HistoryListModel.h"
#include "browser/HistoryListView.h"
#include "browser/RowArtworkCache.h"
#include "item/PBImageContent.h"
#include "shell/TimeUpdater.h"

#include <QAbstractListModel>
#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QItemSelectionModel>
#include <QListView>
#include <QLoggingCategory>
#include <QPainter>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <malloc.h>

namespace {
constexpr int millionRows = 1'000'000;
constexpr int scrolledRows = 10'000;
constexpr int rowHeight = 81;

// As many rows as the list, each the same size: what Qt's own list costs.
class PlainModel : public QAbstractListModel
{
public:
    explicit PlainModel(int rows) : m_rows(rows) {}
    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : m_rows;
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role == Qt::DisplayRole)
            return QStringLiteral("row %1").arg(index.row());
        if (role == Qt::SizeHintRole)
            return QSize(300, rowHeight);
        return {};
    }

private:
    int m_rows;
};

struct Frames
{
    double worst = 0;
    double median = 0;
};

void loadNow(DBManager& manager)
{
    bool done = false;
    manager.fetchAllItems([&done] { done = true; });
    (void)QTest::qWaitFor([&done] { return done; }, 600'000);
}

// From show() to the end of the first paint of the rows.
double firstPaintMs(QWidget& widget, QListView& view)
{
    QElapsedTimer timer;
    timer.start();
    widget.show();
    view.viewport()->repaint();
    return timer.nsecsElapsed() / 1e6;
}

// Scrolls `rows` rows a few at a time, painting each step as a frame.
Frames scroll(QListView& view, int rows)
{
    constexpr int rowsPerFrame = 3;
    QList<double> frames;
    QScrollBar* bar = view.verticalScrollBar();
    for (int done = 0; done < rows; done += rowsPerFrame) {
        QElapsedTimer timer;
        timer.start();
        bar->setValue(bar->value() + rowsPerFrame * rowHeight);
        view.viewport()->repaint();
        QCoreApplication::processEvents();
        frames.append(timer.nsecsElapsed() / 1e6);
    }
    std::sort(frames.begin(), frames.end());
    return {frames.last(), frames[frames.size() / 2]};
}

struct Lists
{
    StoreFixture store;
    TimeUpdater timeUpdater;
    RowArtworkCache artwork{QSize(40, 40)};

    CategoryListViewController::Services services()
    {
        return {*store.manager, store.watcher, timeUpdater, artwork};
    }

    // A history of a million rows, loaded.
    void loadMillion()
    {
        const QString folder = store.folder.filePath(QStringLiteral("history"));
        QDir().mkpath(folder);
        HistoryFixture::generate(folder + QStringLiteral("/db.sqlite3"), millionRows);
        store.manager = store.makeManager(folder);
        loadNow(*store.manager);
    }
};

void benchMillion()
{
    Lists lists;
    lists.loadMillion();

    CategoryListViewController list(Category::Recents, lists.services());
    list.resize(420, 700);
    PlainModel plainModel(millionRows);
    QListView plain;
    plain.setUniformItemSizes(true);
    plain.setModel(&plainModel);
    plain.resize(420, 700);
    HistoryFixture::report("first rows of 1,000,000 painted", firstPaintMs(list, *list.tableView()),
                           firstPaintMs(plain, plain));

    const Frames ours = scroll(*list.tableView(), scrolledRows);
    const Frames base = scroll(plain, scrolledRows);
    HistoryFixture::report("scroll 10,000 rows: worst frame", ours.worst, base.worst);
    HistoryFixture::report("scroll 10,000 rows: median frame", ours.median, base.median);
}

void benchSelect()
{
    Lists lists;
    auto item = PBContent::createInstance<PBImageContent>();
    QByteArray bytes(20 << 20, '\0');
    QRandomGenerator(7).fillRange(reinterpret_cast<quint32*>(bytes.data()), bytes.size() / 4);
    item->setPasteboardTypes({QStringLiteral("public.png")});
    item->setDataArray({bytes});
    item->setDataPathArray(lists.store.dataManager.saveDataOfContent(*item));
    bool written = false;
    lists.store.manager->insertPbContent(item, [&written](bool ok) { written = ok; });
    (void)QTest::qWaitFor([&written] { return written; });
    loadNow(*lists.store.manager); // the item as a loaded history holds it: paths, no bytes

    CategoryListViewController list(Category::Recents, lists.services());
    list.show();
    QElapsedTimer timer;
    timer.start();
    list.tableView()->selectionModel()->setCurrentIndex(list.contents()->index(0),
                                                        QItemSelectionModel::ClearAndSelect);
    const double ours = timer.nsecsElapsed() / 1e6;
    timer.restart();
    for (const QString& path : item->dataPathArray().value_or(QStringList())) {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        file.readAll();
    }
    HistoryFixture::report("select a 20 MB row until the clipboard holds it", ours,
                           timer.nsecsElapsed() / 1e6);
}

// A thousand image items whose payload is one large picture on disk.
void benchPictures()
{
    Lists lists;
    QImage picture(4000, 3000, QImage::Format_RGB32);
    QRandomGenerator(9).fillRange(reinterpret_cast<quint32*>(picture.bits()),
                                  picture.sizeInBytes() / 4);
    const QString path = lists.store.folder.filePath(QStringLiteral("large.png"));
    picture.save(path, "PNG", 100);
    picture = QImage();
    const qint64 fileBytes = QFileInfo(path).size();
    for (int i = 0; i < 1000; ++i) {
        auto item = PBContent::createInstance<PBImageContent>();
        item->date = 1.6e9 + i;
        item->setPasteboardTypes({QStringLiteral("public.png")});
        item->setDataArray({QByteArray("x")});
        item->setDataPathArray(QStringList{path});
        bool done = false;
        lists.store.manager->insertPbContent(item, [&done](bool) { done = true; });
        (void)QTest::qWaitFor([&done] { return done; });
    }
    loadNow(*lists.store.manager);
    CategoryListViewController list(Category::Image, lists.services());
    list.resize(420, 700);
    list.show();
    malloc_trim(0);
    const qint64 before = HistoryFixture::residentBytes();
    QElapsedTimer timer;
    timer.start();
    scroll(*list.tableView(), 1000);
    (void)QTest::qWaitFor([&lists] { return lists.artwork.isIdle(); }, 600'000);
    malloc_trim(0);
    const qint64 after = HistoryFixture::residentBytes();
    std::printf("%-46s %10.1f MB   (pictures of %.1f MB each; %lld thumbnails kept, %.1f MB; "
                "%.1f s)\n",
                "RSS growth scrolling past 1,000 large pictures", (after - before) / 1048576.0,
                fileBytes / 1048576.0, static_cast<long long>(lists.artwork.keptCount()),
                lists.artwork.keptCost() / 1048576.0, timer.nsecsElapsed() / 1e9);
}
// Every row of the list shown once, as scrolling through it would, without painting each frame
// (which took most of a quarter of an hour): the list moves a page at a time, each row of the
// page is asked by its own model for what the row delegate reads (the item, its artwork, its
// description and time: the details read and the rows' data made), and the delegate draws the
// page's first row into a picture of one row, so that what painting keeps is counted too.
// Queued work (artwork made off the GUI thread, details read for the rows shown) is delivered
// after each page.
double showEveryRowS(CategoryListViewController& list)
{
    QElapsedTimer timer;
    timer.start();
    QListView& view = *list.tableView();
    const HistoryListModel& model = *list.contents();
    QScrollBar* bar = view.verticalScrollBar();
    QStyleOptionViewItem option;
    option.initFrom(view.viewport());
    option.font = view.font();
    option.rect = QRect(QPoint(), QSize(view.viewport()->width(), rowHeight));
    QImage row(option.rect.size(), QImage::Format_ARGB32_Premultiplied);
    const int rowsPerPage = std::max(1, view.viewport()->height() / rowHeight);
    view.setUpdatesEnabled(false);
    for (int first = 0; first < model.rowCount(); first += rowsPerPage) {
        bar->setValue(first * rowHeight);
        const int end = std::min(first + rowsPerPage, model.rowCount());
        for (int r = first; r < end; ++r) {
            const QModelIndex index = model.index(r);
            (void)model.contentWithRow(r);
            (void)model.artwork(index);
            (void)model.data(index, Qt::DisplayRole);
            (void)model.data(index, HistoryListModel::TimeRole);
        }
        QPainter painter(&row);
        view.itemDelegate()->paint(&painter, option, model.index(first));
        painter.end();
        QCoreApplication::processEvents();
    }
    view.setUpdatesEnabled(true);
    return timer.nsecsElapsed() / 1e9;
}

void reportResident(const char* name, qint64 afterBytes, qint64 beforeBytes, double seconds)
{
    std::printf("%-52s %10.1f MB   [baseline %10.1f MB]  x%.2f (%.1f s)\n", name,
                afterBytes / 1048576.0, beforeBytes / 1048576.0,
                double(afterBytes) / double(beforeBytes), seconds);
}

void benchMemory()
{
    Lists lists;
    lists.loadMillion();
    CategoryListViewController list(Category::Recents, lists.services());
    list.resize(420, 100 * rowHeight);
    list.show();
    QCoreApplication::processEvents();
    malloc_trim(0);
    const qint64 before = HistoryFixture::residentBytes();

    const double scrolled = showEveryRowS(list);
    (void)QTest::qWaitFor([&lists] { return lists.artwork.isIdle(); }, 600'000);
    malloc_trim(0);
    reportResident("RSS after scrolling all 1,000,000 rows", HistoryFixture::residentBytes(),
                   before, scrolled);

    CategoryListViewController results(Category::Search, lists.services());
    results.resize(420, 700);
    results.show();
    QElapsedTimer timer;
    timer.start();
    for (const char* word :
         {"invoice", "re", "e", "meeting", "t", "pass", "o", "deploy", "a", "review"}) {
        results.setKeyword(QString::fromLatin1(word));
        // Searches run one after another: once this one is answered, the list's is complete.
        bool answered = false;
        lists.store.manager->searchPbItems(QStringLiteral("zzzz"), &results,
                                           [&answered](const auto&) { answered = true; });
        (void)QTest::qWaitFor([&answered] { return answered; }, 600'000);
        results.tableView()->viewport()->repaint();
    }
    malloc_trim(0);
    reportResident("RSS after ten searches of common words", HistoryFixture::residentBytes(),
                   before, timer.nsecsElapsed() / 1e9);
}
} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("vantrel.*=false"));
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    // A part may be named to run it alone: "million", "select", "pictures" or "memory".
    const QStringList parts = app.arguments().mid(1);
    const auto runs = [&parts](const char* part) {
        return parts.isEmpty() || parts.contains(QLatin1String(part));
    };
    if (runs("million"))
        benchMillion();
    if (runs("select"))
        benchSelect();
    if (runs("pictures"))
        benchPictures();
    if (runs("memory"))
        benchMemory();
    return 0;
}
