// Figures for the history store and the capture path, each beside a same-run baseline:
//   load-all        [raw SQLite step-through of the same table]
//   search          [the raw LIKE query]
//   capture         [writing the same payload bytes with one write per file]
//   memory per loaded item (RSS delta / rows)
#include "HistoryFixture.h"
#include "StoreFixture.h"
#include "capture/PBContentComparer.h"
#include "platform/PasteboardItem.h"
#include "platform/WorkspaceNull.h"
#include "shell/CapturePipeline.h"
#include "storage/DBManager.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <malloc.h>
#include <sqlite3.h>

namespace {
constexpr int repeats = 3;

// The best of a few runs, in milliseconds: the least disturbed by the rest of the machine.
double bestMs(const std::function<void()>& run)
{
    double best = 1e300;
    for (int i = 0; i < repeats; ++i) {
        QElapsedTimer timer;
        timer.start();
        run();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

void report(const char* name, double ours, double baseline)
{
    std::printf("%-34s %10.2f ms   [baseline %10.2f ms]   x%.2f\n", name, ours, baseline,
                ours / baseline);
}

void rawQuery(const QString& path, const char* sql, const QByteArray& parameter = {})
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
    if (!parameter.isNull())
        sqlite3_bind_text(statement, 1, parameter.constData(), int(parameter.size()),
                          SQLITE_TRANSIENT);
    qint64 bytes = 0;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        for (int c = 0; c < sqlite3_column_count(statement); ++c) {
            sqlite3_column_text(statement, c);
            bytes += sqlite3_column_bytes(statement, c);
        }
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    if (bytes < 0)
        std::puts("unreachable");
}

void waitFor(const std::function<void(std::function<void()>)>& start)
{
    QEventLoop loop;
    start([&loop] { loop.quit(); });
    loop.exec();
}

void benchLoadAndSearch(int rows)
{
    StoreFixture store;
    const QString path = store.folder.filePath(QStringLiteral("history/db.sqlite3"));
    QDir().mkpath(QFileInfo(path).absolutePath());
    HistoryFixture::generate(path, rows);
    const QByteArray label = QByteArray::number(rows / 1000) + "k rows";

    const double raw = bestMs([&] { rawQuery(path, "SELECT * FROM pb_items ORDER BY date DESC"); });
    const auto managerOwner = store.makeManager(QFileInfo(path).absolutePath());
    DBManager& manager = *managerOwner;
    const double ours = bestMs([&] { waitFor([&](auto done) { manager.fetchAllItems(done); }); });
    report(("load-all " + label).constData(), ours, raw);

    if (rows >= 100'000) {
        for (const char* text : {"coffee branch", "no such words"}) {
            const double rawSearch = bestMs([&] {
                rawQuery(path,
                         "SELECT * FROM pb_items WHERE keyword LIKE '%' || ? || '%' "
                         "ORDER BY date DESC",
                         text);
            });
            qsizetype found = 0;
            const double search = bestMs([&] {
                waitFor([&](auto done) {
                    manager.searchPbItems(QString::fromLatin1(text), &manager,
                                          [&found, done](const QList<PBContentPtr>& items) {
                                              found = items.size();
                                              done();
                                          });
                });
            });
            const QByteArray name = "search '" + QByteArray(text) + "' " + label + " (" +
                                    QByteArray::number(found) + " hits)";
            report(name.constData(), search, rawSearch);
        }
    }
}

void benchMemory(int rows)
{
    StoreFixture store;
    const QString folder = store.folder.filePath(QStringLiteral("history"));
    QDir().mkpath(folder);
    HistoryFixture::generate(folder + QStringLiteral("/db.sqlite3"), rows);
    const auto managerOwner = store.makeManager(folder);
    DBManager& manager = *managerOwner;
    malloc_trim(0);
    const qint64 before = HistoryFixture::residentBytes();
    waitFor([&](auto done) { manager.fetchAllItems(done); });
    malloc_trim(0);
    const qint64 after = HistoryFixture::residentBytes();
    std::printf("%-34s %10.0f bytes per item (%lld items, RSS +%.1f MB)\n",
                "memory per loaded item", double(after - before) / rows,
                static_cast<long long>(manager.recentItems().size()), (after - before) / 1048576.0);
}

PasteboardItem pasteboardItem(const QString& type, const QByteArray& bytes)
{
    return PasteboardItem({type}, {{type, bytes}});
}

void writeOnce(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

// Capture of `count` items of the given type and size through the whole pipeline, against
// writing the same payload bytes with one write per file.
void benchCapture(const char* name, const QString& type, int count, qsizetype size)
{
    StoreFixture store;
    PBContentComparer comparer;
    WorkspaceNull workspace;
    CapturePipeline pipeline(workspace, comparer, store.settings, store.dataManager,
                             *store.manager);

    QList<QByteArray> payloads;
    for (int i = 0; i < count; ++i) {
        QByteArray bytes = QByteArray::number(i).rightJustified(10, '0');
        bytes += QByteArray(std::max<qsizetype>(0, size - bytes.size()), 'x');
        payloads.append(bytes);
    }
    QElapsedTimer timer;
    timer.start();
    for (const QByteArray& bytes : std::as_const(payloads))
        pipeline.pasteboardItemChanged({pasteboardItem(type, bytes)});
    const double ours = timer.nsecsElapsed() / 1e6;

    timer.restart();
    for (int i = 0; i < count; ++i)
        writeOnce(store.folder.filePath(QStringLiteral("plain-%1").arg(i)), payloads[i]);
    report(name, ours, timer.nsecsElapsed() / 1e6);
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("vantrel.*=false"));
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    for (int rows : {10'000, 100'000, 1'000'000})
        benchLoadAndSearch(rows);
    benchMemory(100'000);
    benchMemory(1'000'000);
    benchCapture("capture 1000 text items", QStringLiteral("public.utf8-plain-text"), 1000, 200);
    benchCapture("capture one 1 MB HTML item", QStringLiteral("public.html"), 1, 1 << 20);
    benchCapture("capture one 20 MB PNG item", QStringLiteral("public.png"), 1, 20 << 20);
    return 0;
}
