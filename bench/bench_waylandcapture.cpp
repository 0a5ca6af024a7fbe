// Capture on Wayland as a user sees it, on the real binary beside the compositor of
// tests/helpers/sway-session: how long another client's copy takes to become a committed row
// (p50/p95/max), counted from the moment the copying client holds the clipboard (wlclipowner
// says so once the compositor has taken its selection) and from the start of a wl-copy.
//
//   bench_waylandcapture [--before PATH]   PATH: another build's vantrel, measured the same way
//                                          as the same-run baseline (a build of the earlier
//                                          capture path)
//
// Run as the session's user (scripts/run-benchmarks does).
#include "RunningVantrel.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {
constexpr int copies = 40;

// The compositor by its full path, since the runtime folder is another.
QProcessEnvironment onWayland()
{
    QProcessEnvironment env;
    env.insert(u"WAYLAND_DISPLAY"_s, qEnvironmentVariable("XDG_RUNTIME_DIR") + u'/' +
                                         qEnvironmentVariable("WAYLAND_DISPLAY"));
    env.insert(u"QT_QPA_PLATFORM"_s, u"wayland"_s);
    env.insert(u"QT_LOGGING_RULES"_s, u"vantrel.platform.info=true"_s);
    return env;
}
constexpr int timeoutMs = 10'000;

// Makes one copy; returns once the clock is to start, leaving the copying process to `keep`.
using Copy = std::function<void(int i, std::unique_ptr<QProcess>& keep)>;

// Holds the clipboard with a text through wlclipowner; returns once the compositor took it.
void ownerCopies(int i, std::unique_ptr<QProcess>& keep)
{
    keep = std::make_unique<QProcess>();
    keep->start(QStringLiteral(WLCLIPOWNER_BINARY),
                {u"text/plain=copy %1 of the Wayland capture bench"_s.arg(i)});
    QByteArray ready;
    while (!ready.contains("ready") && keep->waitForReadyRead(timeoutMs))
        ready += keep->readAllStandardOutput();
}

// Starts wl-copy with a text, as a user's command would; returns at once.
void wlCopyCopies(int i, std::unique_ptr<QProcess>& keep)
{
    keep = std::make_unique<QProcess>();
    keep->start(u"wl-copy"_s, {u"wl-copy %1 of the Wayland capture bench"_s.arg(i)});
}

Latencies captureLatencies(const QString& binary, const Copy& copy)
{
    RunningVantrel vantrel(binary, onWayland(), "watching the Wayland clipboard");
    QList<double> samples;
    std::vector<std::unique_ptr<QProcess>> copiers;
    for (int i = 0; i < copies; ++i) {
        const qint64 before = vantrel.rows();
        std::unique_ptr<QProcess> copier;
        QElapsedTimer timer;
        timer.start();
        copy(i, copier);
        const qint64 startNs = timer.nsecsElapsed();
        while (vantrel.rows() <= before && timer.elapsed() < timeoutMs)
            usleep(500);
        samples.append(double(timer.nsecsElapsed() - startNs) / 1e6);
        copiers.push_back(std::move(copier));
        // Copies a person makes, not a burst.
        QThread::msleep(150);
    }
    for (const auto& copier : copiers) {
        copier->kill();
        copier->waitForFinished();
    }
    return Latencies::of(samples);
}

// The same measure from the start of the copying process: the clock starts before it does.
Latencies fromStart(const QString& binary, const Copy& copy)
{
    return captureLatencies(binary, [&copy](int i, std::unique_ptr<QProcess>& keep) {
        copy(i, keep);
        keep->waitForStarted();
    });
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        std::printf("bench_waylandcapture: no Wayland compositor, nothing measured\n");
        return 0;
    }
    const QStringList arguments = app.arguments();
    const qsizetype beforeAt = arguments.indexOf(u"--before"_s);
    const QString before = beforeAt > 0 ? arguments.value(beforeAt + 1) : QString();
    const QString binary = QStringLiteral(VANTREL_BINARY);

    std::printf("capture latency on Wayland, %d copies each, until the row is committed\n", copies);
    captureLatencies(binary, ownerCopies).print("owner holds the clipboard -> row");
    if (!before.isEmpty())
        captureLatencies(before, ownerCopies).print("  [--before build]");
    fromStart(binary, wlCopyCopies).print("wl-copy started -> row");
    if (!before.isEmpty())
        fromStart(before, wlCopyCopies).print("  [--before build]");
    return 0;
}
