// Capture as a user sees it, on the real binary under the current X display: how long another
// application's copy takes to become a committed row (p50/p95/max of 50 copies), and what the
// running application costs while nothing happens (wake-ups and CPU over an idle minute).
//
//   bench_capture [--before PATH]    PATH: another build's vantrel, measured the same way as the
//                                    same-run baseline (a build of the previous capture path)
//
// VANTREL_BENCH_IDLE_SECONDS shortens the idle minute.
#include "RunningVantrel.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {
constexpr int copies = 50;

QProcessEnvironment capturing()
{
    QProcessEnvironment env;
    env.insert(u"QT_LOGGING_RULES"_s, u"vantrel.capture.info=true"_s);
    return env;
}

struct Idle
{
    double wakeupsPerSecond = 0;
    double cpuPercent = 0;
};

// From the moment the owner holds the clipboard until the row is committed.
Latencies captureLatencies(const QString& binary)
{
    RunningVantrel vantrel(binary, capturing(), "Start Watching");
    QList<double> samples;
    std::vector<std::unique_ptr<QProcess>> owners;
    for (int i = 0; i < copies; ++i) {
        const qint64 before = vantrel.rows();
        auto owner = std::make_unique<QProcess>();
        owner->start(QStringLiteral(CLIPOWNER_BINARY),
                     {u"--format"_s, u"UTF8_STRING=copy %1 of the capture bench"_s.arg(i)});
        QByteArray ready;
        while (!ready.contains("ready") && owner->waitForReadyRead(10'000))
            ready += owner->readAllStandardOutput();
        QElapsedTimer sinceOwned;
        sinceOwned.start();
        while (vantrel.rows() <= before && sinceOwned.elapsed() < 10'000)
            usleep(500);
        samples.append(double(sinceOwned.nsecsElapsed()) / 1e6);
        owners.push_back(std::move(owner));
        // Copies a person makes, not a burst.
        QThread::msleep(150);
    }
    for (const auto& owner : owners) {
        owner->kill();
        owner->waitForFinished();
    }
    return Latencies::of(samples);
}

// Voluntary and involuntary context switches of every thread, and CPU ticks, of a process.
std::pair<qint64, qint64> switchesAndTicks(qint64 pid)
{
    qint64 switches = 0;
    const QString tasks = u"/proc/%1/task"_s.arg(pid);
    for (const QString& task : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile status(tasks + u'/' + task + u"/status"_s);
        if (!status.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.contains("ctxt_switches:"))
                switches += line.mid(line.indexOf(':') + 1).trimmed().toLongLong();
        }
    }
    QFile stat(u"/proc/%1/stat"_s.arg(pid));
    qint64 ticks = 0;
    if (stat.open(QIODevice::ReadOnly)) {
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        // utime and stime are fields 14 and 15 of the whole line.
        ticks = fields.value(11).toLongLong() + fields.value(12).toLongLong();
    }
    return {switches, ticks};
}

Idle idleCost(const QString& binary, int seconds)
{
    RunningVantrel vantrel(binary, capturing(), "Start Watching");
    // Start-up work (the first load, the tray) is not idling.
    QThread::sleep(5);
    const auto [switchesBefore, ticksBefore] = switchesAndTicks(vantrel.pid());
    QThread::sleep(seconds);
    const auto [switchesAfter, ticksAfter] = switchesAndTicks(vantrel.pid());
    const double cpuSeconds = double(ticksAfter - ticksBefore) / double(sysconf(_SC_CLK_TCK));
    return {double(switchesAfter - switchesBefore) / seconds, 100.0 * cpuSeconds / seconds};
}

void printIdle(const char* name, const Idle& idle, int seconds)
{
    std::printf("%-44s %6.2f wake-ups/s  %7.4f %% of a core  (%d s)\n", name, idle.wakeupsPerSecond,
                idle.cpuPercent, seconds);
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::printf("bench_capture: no X display, nothing measured\n");
        return 0;
    }
    const QStringList arguments = app.arguments();
    const qsizetype beforeAt = arguments.indexOf(u"--before"_s);
    const QString before = beforeAt > 0 ? arguments.value(beforeAt + 1) : QString();
    const int seconds = qEnvironmentVariableIsSet("VANTREL_BENCH_IDLE_SECONDS")
                            ? qEnvironmentVariableIntValue("VANTREL_BENCH_IDLE_SECONDS")
                            : 60;

    std::printf("capture latency, %d copies from another X11 client (owner set -> row committed)\n",
                copies);
    captureLatencies(QStringLiteral(VANTREL_BINARY)).print("  this build");
    if (!before.isEmpty())
        captureLatencies(before).print("  [before]");
    std::printf("idle, empty history, no window shown\n");
    printIdle("  this build", idleCost(QStringLiteral(VANTREL_BINARY), seconds), seconds);
    if (!before.isEmpty())
        printIdle("  [before]", idleCost(before, seconds), seconds);
    return 0;
}
