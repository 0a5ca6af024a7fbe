// Figures for the history store and the capture path, each beside a same-run baseline:
//   load-all        [raw SQLite step-through of the same table]
//   search          [the raw LIKE query]
//   capture         [writing the same payload bytes with one write per file]
//   capture with 200 desktop entries, the source application found in the desktop-entry index
//                   [the same capture reading every entry at each copy, as before the index]
//   memory per loaded item (RSS delta / rows)
#include "HistoryFixture.h"
#include "StoreFixture.h"
#include "platform/PasteboardItem.h"
#include "platform/doubles/WorkspaceNull.h"
#include "platform/xdg/DesktopEntries.h"
#include "platform/xdg/DesktopEntryIndex.h"
#include "recording/CapturePipeline.h"
#include "recording/PBContentComparer.h"
#include "storage/DBManager.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <malloc.h>

namespace {

void report(const char* name, double ours, double baseline)
{
    std::printf("%-34s %10.2f ms   [baseline %10.2f ms]   x%.2f\n", name, ours, baseline,
                ours / baseline);
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

    const double raw = HistoryFixture::bestMs(
        [&] { HistoryFixture::rawQuery(path, HistoryFixture::stepThroughSql); });
    const auto managerOwner = store.makeManager(QFileInfo(path).absolutePath());
    DBManager& manager = *managerOwner;
    const double ours =
        HistoryFixture::bestMs([&] { waitFor([&](auto done) { manager.fetchAllItems(done); }); });
    report(("load-all " + label).constData(), ours, raw);

    if (rows >= 100'000) {
        for (const char* text : {"coffee branch", "no such words"}) {
            const double rawSearch = HistoryFixture::bestMs([&] {
                HistoryFixture::rawQuery(
                    path,
                    "SELECT * FROM pb_items WHERE keyword LIKE '%' || ? || '%' "
                    "ORDER BY date DESC",
                    text);
            });
            qsizetype found = 0;
            const double search = HistoryFixture::bestMs([&] {
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
                static_cast<long long>(manager.listLength(Category::Recents)),
                (after - before) / 1048576.0);
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

// The window the copies come from, by its WM_CLASS.
const QString sourceInstance = QStringLiteral("app199");
const QString sourceClass = QStringLiteral("App199");

// The source application as the X11 workspace finds it, from the desktop-entry index.
class IndexedWorkspace : public WorkspaceNull
{
public:
    DesktopWindow activeWindow() const override { return {1}; }
    QString applicationId(DesktopWindow) const override
    {
        return m_index.desktopIdForWindowClass(sourceInstance, sourceClass);
    }

private:
    DesktopEntryIndex m_index;
};

// The lookup the workspace made before the index, kept here only as the baseline: every entry
// read at each copy.
class ScanningWorkspace : public WorkspaceNull
{
public:
    DesktopWindow activeWindow() const override { return {1}; }
    QString applicationId(DesktopWindow) const override
    {
        const auto entries = DesktopEntries::allEntries(DesktopEntries::applicationFolders());
        QList<std::pair<QString, QString>> startupClasses;
        for (const auto& [id, path] : entries)
            startupClasses.append(
                {id, DesktopEntries::readEntry(path).value(QStringLiteral("StartupWMClass"))});
        for (const QString& name : {sourceClass, sourceInstance}) {
            for (const auto& [id, startupClass] : std::as_const(startupClasses)) {
                if (startupClass == name)
                    return id;
            }
        }
        return QStringLiteral("");
    }
};

// Applications folder with `count` entries shaped like installed applications' ones.
void writeDesktopEntries(const QString& folder, int count)
{
    QDir().mkpath(folder);
    for (int i = 0; i < count; ++i) {
        const QString number = QStringLiteral("%1").arg(i, 3, 10, QLatin1Char('0'));
        QFile file(folder + QStringLiteral("/org.example.App%1.desktop").arg(number));
        if (!file.open(QIODevice::WriteOnly))
            return;
        file.write(QStringLiteral("[Desktop Entry]\nType=Application\nName=App %1\n"
                                  "Name[de]=Anwendung %1\nComment=Does things\n"
                                  "Exec=/usr/bin/app%1 %U\nIcon=org.example.App%1\n"
                                  "Terminal=false\nCategories=Utility;\nStartupWMClass=App%1\n"
                                  "\n[Desktop Action new]\nName=New\nExec=/usr/bin/app%1 --new\n")
                       .arg(number)
                       .toUtf8());
    }
}

// Milliseconds per item over `count` text items captured through the whole pipeline.
double captureEach(const Workspace& workspace, int count)
{
    StoreFixture store;
    PBContentComparer comparer;
    CapturePipeline pipeline(workspace, comparer, store.settings, store.dataManager,
                             *store.manager);
    const QString type = QStringLiteral("public.utf8-plain-text");
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < count; ++i)
        pipeline.pasteboardItemChanged(
            {pasteboardItem(type, "copied text " + QByteArray::number(i))});
    return timer.nsecsElapsed() / 1e6 / count;
}

void benchCaptureWithDesktopEntries(int entries)
{
    QTemporaryDir dataHome;
    writeDesktopEntries(dataHome.filePath(QStringLiteral("applications")), entries);
    qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome.path()));
    qputenv("XDG_DATA_DIRS", QFile::encodeName(dataHome.filePath(QStringLiteral("none"))));
    constexpr int count = 200;
    const IndexedWorkspace indexed;
    const ScanningWorkspace scanning;
    const double ours = captureEach(indexed, count);
    const double baseline = captureEach(scanning, count);
    report("capture one text, 200 entries", ours, baseline);
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("vantrel.*=false"));
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    // "bench_history capture" runs only the capture figures; "bench_history memory ROWS" only the
    // memory of a load of ROWS rows.
    const QByteArray part = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    if (part == "memory" && argc > 2) {
        benchMemory(std::atoi(argv[2]));
        return 0;
    }
    if (part != "capture") {
        for (int rows : {10'000, 100'000, 1'000'000})
            benchLoadAndSearch(rows);
        // Each in a process of its own: the room an earlier load's thread kept would be counted
        // as the load's.
        for (const char* rows : {"100000", "1000000"}) {
            QProcess measure;
            measure.setProcessChannelMode(QProcess::ForwardedChannels);
            measure.start(QCoreApplication::applicationFilePath(),
                          {QStringLiteral("memory"), QString::fromLatin1(rows)});
            measure.waitForFinished(-1);
        }
    }
    benchCapture("capture 1000 text items", QStringLiteral("public.utf8-plain-text"), 1000, 200);
    benchCapture("capture one 1 MB HTML item", QStringLiteral("public.html"), 1, 1 << 20);
    benchCapture("capture one 20 MB PNG item", QStringLiteral("public.png"), 1, 20 << 20);
    benchCaptureWithDesktopEntries(200);
    return 0;
}
