// What reading the X11 clipboard costs the GUI thread: the longest stretch in which its event
// loop did not turn, and the peak memory, while an owner that stalls and a 200 MB text (sent in
// pieces, INCR) are read. Beside each, the same-run baseline: the same owner read through Qt's
// clipboard on the GUI thread, the way a reader that waits on the owner does.
#include "platform/x11/PasteboardX11.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

namespace {
// The longest gap between two turns of the GUI thread's event loop while it runs.
class StallMeter
{
public:
    StallMeter()
    {
        m_timer.setInterval(1);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            m_longestMs = std::max(m_longestMs, double(m_sinceTurn.nsecsElapsed()) / 1e6);
            m_sinceTurn.restart();
        });
        m_sinceTurn.start();
        m_timer.start();
    }
    double longestMs()
    {
        m_longestMs = std::max(m_longestMs, double(m_sinceTurn.nsecsElapsed()) / 1e6);
        return m_longestMs;
    }

private:
    QTimer m_timer;
    QElapsedTimer m_sinceTurn;
    double m_longestMs = 0;
};

qint64 peakResidentKiB()
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return 0;
}

// Starts an owner without holding up the event loop, and waits until it holds the clipboard.
std::unique_ptr<QProcess> startOwner(const QStringList& arguments)
{
    auto owner = std::make_unique<QProcess>();
    owner->start(QStringLiteral(CLIPOWNER_BINARY), arguments);
    QByteArray output;
    QObject::connect(owner.get(), &QProcess::readyReadStandardOutput,
                     [&output, process = owner.get()] { output += process->readAll(); });
    (void)QTest::qWaitFor([&output] { return output.contains("ready"); }, 600'000);
    owner->disconnect();
    return owner;
}

struct Figures
{
    double stallMs = 0;
    double totalMs = 0;
    qsizetype bytes = 0;
};

qsizetype bytesOf(const QList<PasteboardItem>& items)
{
    qsizetype bytes = 0;
    for (const PasteboardItem& item : items) {
        for (const QString& type : item.types())
            bytes += item.dataForType(type).value_or(QByteArray()).size();
    }
    return bytes;
}

// This build's reader: from the owner's start until its change is published (the next change
// for an owner that stalls, the one with content otherwise).
Figures readThroughPasteboard(PasteboardX11& pasteboard, const QStringList& owner, bool stalls)
{
    const qint64 before = pasteboard.changeCount();
    StallMeter meter;
    QElapsedTimer total;
    total.start();
    auto process = startOwner(owner);
    (void)QTest::qWaitFor(
        [&] {
            return stalls ? pasteboard.changeCount() > before
                          : bytesOf(pasteboard.pasteboardItems()) > 0;
        },
        600'000);
    return {meter.longestMs(), double(total.elapsed()), bytesOf(pasteboard.pasteboardItems())};
}

// Qt's clipboard read on the GUI thread, format by format.
Figures readThroughQt(const QStringList& owner)
{
    QElapsedTimer total;
    total.start();
    auto process = startOwner(owner);
    StallMeter meter;
    Figures figures;
    QTimer::singleShot(0, [&] {
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        for (const QString& format : data ? data->formats() : QStringList()) {
            if (format.contains(u'/'))
                figures.bytes += data->data(format).size();
        }
        figures.totalMs = double(total.elapsed());
    });
    (void)QTest::qWaitFor([&] { return figures.totalMs > 0; }, 600'000);
    figures.stallMs = meter.longestMs();
    return figures;
}

void print(const char* name, const Figures& ours, const Figures& baseline)
{
    std::printf("%-40s longest GUI-thread stall %9.2f ms  [baseline %9.2f ms]\n", name,
                ours.stallMs, baseline.stallMs);
    std::printf("%-40s until read                %9.2f ms  [baseline %9.2f ms]  bytes %lld "
                "[%lld]\n",
                "", ours.totalMs, baseline.totalMs, static_cast<long long>(ours.bytes),
                static_cast<long long>(baseline.bytes));
}
} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "xcb");
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::printf("bench_clipboardread: no X display, nothing measured\n");
        return 0;
    }
    QGuiApplication app(argc, argv);
    auto pasteboard = std::make_unique<PasteboardX11>(QGuiApplication::clipboard());

    QTemporaryDir dir;
    const QString path = dir.filePath(u"text"_s);
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        const QByteArray line =
            QByteArray("a line of a very long copied text, ").repeated(28) + '\n';
        for (qsizetype written = 0; written < (200 << 20); written += line.size())
            file.write(line);
    }
    const QStringList stalling = {u"--stall"_s, u"--format"_s, u"text/html=<b>x</b>"_s,
                                  u"--format"_s, u"UTF8_STRING=x"_s};
    const QStringList huge = {u"--format-file"_s, u"UTF8_STRING="_s + path};

    const Figures stallOurs = readThroughPasteboard(*pasteboard, stalling, true);
    const qint64 peakBefore = peakResidentKiB();
    const Figures hugeOurs = readThroughPasteboard(*pasteboard, huge, false);
    const qint64 peakOurs = peakResidentKiB();
    // The baselines read alone.
    pasteboard.reset();
    const Figures stallQt = readThroughQt(stalling);
    const Figures hugeQt = readThroughQt(huge);

    print("an owner that stalls (2 formats)", stallOurs, stallQt);
    print("a 200 MB text (INCR, 256 KiB pieces)", hugeOurs, hugeQt);
    std::printf(
        "%-40s peak RSS %lld MiB (from %lld MiB before the read) [baseline peak %lld MiB]\n", "",
        static_cast<long long>(peakOurs / 1024), static_cast<long long>(peakBefore / 1024),
        static_cast<long long>(peakResidentKiB() / 1024));
    return 0;
}
