// A 200 MB text copied and recorded through the capture pipeline, fed a pasteboard item as the
// clipboard reader hands it over; each figure beside a same-run baseline:
//   longest stall of the main thread's event loop while it is stored
//                   [one write() of the same bytes on the main thread]
//   time until it is in the history     [the same write() and fdatasync()]
//   peak resident memory above the start [the text itself]
//   resident memory kept once it is stored, above the start
#include "HistoryFixture.h"
#include "StoreFixture.h"
#include "platform/PasteboardItem.h"
#include "platform/doubles/WorkspaceNull.h"
#include "recording/CapturePipeline.h"
#include "recording/PBContentComparer.h"
#include "storage/DBManager.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLoggingCategory>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <malloc.h>
#include <unistd.h>

namespace {
constexpr qsizetype textBytes = 200 << 20;
const QString plainText = QStringLiteral("public.utf8-plain-text");

// Lines of words, as a large log or a dump would be copied.
QByteArray largeText()
{
    const QByteArray line = "2026-12-08 23:10:42 worker 7 finished the report for the budget\n";
    QByteArray text;
    text.reserve(textBytes);
    while (text.size() + line.size() <= textBytes)
        text += line;
    return text;
}

qint64 statusField(const char* name)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(name))
            return line.mid(qsizetype(qstrlen(name))).trimmed().split(' ').first().toLongLong() *
                   1024;
    }
    return 0;
}

// Lets the peak resident size (VmHWM) start again from the current one.
void resetPeak()
{
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    if (clearRefs.open(QIODevice::WriteOnly))
        clearRefs.write("5");
}

double mebibytes(qint64 bytes)
{
    return double(bytes) / (1 << 20);
}

// The longest gap between two ticks of a 1 ms timer on the main thread, until `done` holds.
double longestStallMs(const std::function<bool()>& done)
{
    QEventLoop loop;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    QElapsedTimer since;
    double longest = 0;
    QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
        longest = std::max(longest, since.nsecsElapsed() / 1e6);
        since.restart();
        if (done())
            loop.quit();
    });
    since.start();
    tick.start(1);
    loop.exec();
    return longest;
}

double writeOnceRunMs(const QString& path, const QByteArray& bytes, bool sync)
{
    QElapsedTimer timer;
    timer.start();
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    qsizetype done = 0;
    while (fd >= 0 && done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (written <= 0)
            break;
        done += written;
    }
    if (fd >= 0) {
        if (sync)
            ::fdatasync(fd);
        ::close(fd);
    }
    return timer.nsecsElapsed() / 1e6;
}

// What a capture done on the main thread would at least cost it: writing the bytes once (the
// best of two, the first also paying for the file's pages).
double writeOnceMs(const QString& path, const QByteArray& bytes, bool sync)
{
    return std::min(writeOnceRunMs(path, bytes, sync), writeOnceRunMs(path, bytes, sync));
}

void benchHugeText()
{
    StoreFixture store;
    PBContentComparer comparer;
    WorkspaceNull workspace;
    CapturePipeline pipeline(workspace, comparer, store.settings, store.dataManager,
                             *store.manager);
    const QString baselinePath = store.folder.filePath(QStringLiteral("plain"));
    double plainWriteMs = 0, plainSyncedMs = 0;
    {
        const QByteArray text = largeText();
        plainWriteMs = writeOnceMs(baselinePath, text, false);
        plainSyncedMs = writeOnceMs(baselinePath, text, true);
    }
    QFile::remove(baselinePath);
    malloc_trim(0);

    // What the event loop shows on this machine with nothing to do, for as long as a capture.
    QElapsedTimer idle;
    idle.start();
    const double idleStallMs = longestStallMs([&idle] { return idle.elapsed() >= 400; });

    const qint64 start = statusField("VmRSS:");
    resetPeak();
    QList<PasteboardItem> items{PasteboardItem({plainText}, {{plainText, largeText()}})};
    QElapsedTimer timer;
    timer.start();
    pipeline.pasteboardItemChanged(items);
    const double handOverMs = timer.nsecsElapsed() / 1e6;
    // As the reader does: from here on the pipeline holds the only reference to the bytes.
    items.clear();
    const double stallMs =
        longestStallMs([&store] { return !store.manager->recentItems().isEmpty(); });
    const double recordedMs = timer.nsecsElapsed() / 1e6;
    const qint64 peak = statusField("VmHWM:");
    QCoreApplication::processEvents();
    pipeline.finishPendingCaptures();
    malloc_trim(0);
    const qint64 kept = statusField("VmRSS:");

    HistoryFixture::report("200 MB text: longest main-thread stall", std::max(stallMs, handOverMs),
                           plainWriteMs);
    std::printf("%-52s %10.2f ms\n", "idle event loop: longest stall in 400 ms", idleStallMs);
    HistoryFixture::report("200 MB text: copied until recorded", recordedMs, plainSyncedMs);
    std::printf("%-52s %10.1f MB   [baseline %10.1f MB]\n", "200 MB text: peak RSS above start",
                mebibytes(peak - start), mebibytes(textBytes));
    std::printf("%-52s %10.1f MB\n", "200 MB text: RSS kept once recorded",
                mebibytes(kept - start));
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("vantrel.*=false"));
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    benchHugeText();
    return 0;
}
