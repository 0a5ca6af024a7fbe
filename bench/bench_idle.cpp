// Start-up and idle memory of the real binary under the current X display, with an empty history
// and no window shown (a tray host takes the icon): the time from exec to the first answer to the
// status request that `vantrelctl status` sends, and RSS and PSS once it has settled. Beside it,
// the floor: a Qt Widgets program that shows a tray icon and nothing else (exec to its event loop
// running), and what each mapped library costs Vantrel at idle. Then the same start beside
// CopyQ's server (another clipboard manager, when installed: scripts/install-deps --bench), both
// measured as a script that waits for them sees it: from exec to the first client command that
// succeeds (`vantrelctl status`, `copyq size`), with what the client costs alone. Then a start over
// a history of 1,000,000 items until the answer to `vantrelctl recent` lists them [the raw SQLite
// step-through of the same table], and, over the same history loaded, `vantrel --show-main` until
// the main window is mapped with its six tabs' counts [the same over an empty history].
//
//   bench_idle [--before PATH]    PATH: another build's vantrel, measured the same way
#include "HistoryFixture.h"
#include "RunningVantrel.h"
#include "support/ChannelMessages.h"
#include "support/MessageChannelWormhole.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonValue>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <signal.h>

using namespace Qt::StringLiterals;

namespace {
constexpr int runs = 5;
// Asked this often until the first answer: the start-up figure is this fine.
constexpr int askEveryMs = 5;
constexpr int giveUpMs = 30'000;
// Start-up work (the history's first load, the tray icon) is over by then.
constexpr int settleMs = 3000;
constexpr int millionRows = 1'000'000;
constexpr int millionRuns = 3;

struct Memory
{
    qint64 rssKb = 0;
    qint64 pssKb = 0;
};

struct Run
{
    double startMs = -1;
    Memory memory;
    // Of the processes the program started (CopyQ's clipboard monitor), all together.
    Memory children;
};

// A program measured by its client: the server started with no arguments, and the client command
// that succeeds once the server is ready.
struct Served
{
    QString binary;
    QString client;
    QStringList clientArguments;
};

Memory memoryOf(qint64 pid)
{
    QFile rollup(u"/proc/%1/smaps_rollup"_s.arg(pid));
    Memory memory;
    if (!rollup.open(QIODevice::ReadOnly))
        return memory;
    for (const QByteArray& line : rollup.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.value(0) == "Rss:")
            memory.rssKb = fields.value(1).toLongLong();
        else if (fields.value(0) == "Pss:")
            memory.pssKb = fields.value(1).toLongLong();
    }
    return memory;
}

// RSS of each mapped file, in kB.
QHash<QString, qint64> residentFiles(qint64 pid)
{
    QFile smaps(u"/proc/%1/smaps"_s.arg(pid));
    QHash<QString, qint64> resident;
    if (!smaps.open(QIODevice::ReadOnly))
        return resident;
    QString file;
    for (const QByteArray& line : smaps.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.value(0).contains('-') && fields.size() >= 5)
            file = QString::fromUtf8(fields.value(5));
        else if (fields.value(0) == "Rss:" && file.startsWith(u'/'))
            resident[QFileInfo(file).fileName()] += fields.value(1).toLongLong();
    }
    return resident;
}

QList<qint64> childrenOf(qint64 pid)
{
    QFile children(u"/proc/%1/task/%1/children"_s.arg(pid));
    QList<qint64> pids;
    if (children.open(QIODevice::ReadOnly)) {
        for (const QByteArray& child : children.readAll().simplified().split(' '))
            if (!child.isEmpty())
                pids << child.toLongLong();
    }
    return pids;
}

// Ends the process and whatever it started and left running.
void stop(QProcess& process)
{
    const QList<qint64> children = childrenOf(process.processId());
    process.terminate();
    if (!process.waitForFinished(10'000))
        process.kill();
    process.waitForFinished();
    for (const qint64 child : children)
        ::kill(pid_t(child), SIGKILL);
}

// A program's folders of its own: a returning user (no welcome) whose history is empty. The
// first start, which creates the history, is not measured: the figures are those of every
// later start. CopyQ keeps its configuration and its socket in the same XDG folders.
class Home
{
public:
    Home()
    {
        m_env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"}) {
            const QString folder = m_dir.filePath(QString::fromLatin1(name));
            QDir().mkpath(folder);
            m_env.insert(QString::fromLatin1(name), folder);
        }
        QDir(m_dir.path())
            .mkdir(u"runtime"_s, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        m_env.insert(u"XDG_RUNTIME_DIR"_s, m_dir.filePath(u"runtime"_s));
        QDir().mkpath(m_dir.filePath(u"XDG_CONFIG_HOME/vantrel"_s));
        QFile defaults(m_dir.filePath(u"XDG_CONFIG_HOME/vantrel/vantrel.conf"_s));
        if (defaults.open(QIODevice::WriteOnly))
            defaults.write("[General]\nWelcomeShown=true\n");
        QDir().mkpath(wormhole());
    }

    QProcessEnvironment environment() const { return m_env; }
    QString historyPath() const { return m_dir.filePath(u"XDG_DATA_HOME/vantrel/db.sqlite3"_s); }
    QString wormhole() const
    {
        return m_dir.filePath(u"XDG_DATA_HOME/KP3W7H1Y6D.wormhole/wormhole"_s);
    }

private:
    QTemporaryDir m_dir;
    QProcessEnvironment m_env;
};

// Starts the binary in `process` and asks `request` every few milliseconds, as vantrelctl asks,
// until an answer under `answer` that `accepted` takes: the time from exec to that answer, in
// milliseconds, or -1.
double timeToAnswer(QProcess& process, const QString& binary, const Home& home,
                    QLatin1StringView request, QLatin1StringView answer,
                    const std::function<bool(const QJsonValue&)>& accepted)
{
    MessageChannelWormhole channel(home.wormhole());
    QEventLoop loop;
    QElapsedTimer sinceExec;
    double answeredMs = -1;
    channel.listenForMessage(answer, &loop, [&](const std::optional<QJsonValue>& message) {
        if (answeredMs < 0 && message && accepted(*message)) {
            answeredMs = double(sinceExec.nsecsElapsed()) / 1e6;
            loop.quit();
        }
    });
    QTimer ask;
    QObject::connect(&ask, &QTimer::timeout, &loop, [&channel, request] {
        channel.passMessageObject(QJsonValue(QString()), request);
    });
    QTimer::singleShot(giveUpMs, &loop, &QEventLoop::quit);
    process.setProcessEnvironment(home.environment());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    sinceExec.start();
    process.start(binary, {});
    ask.start(askEveryMs);
    loop.exec();
    return answeredMs;
}

// Exec to the first answer to the status request; then the memory once settled.
Run startVantrel(const QString& binary, const Home& home, QHash<QString, qint64>* files = nullptr)
{
    QProcess process;
    Run run;
    run.startMs = timeToAnswer(process, binary, home, ChannelMessages::isLaunched,
                               ChannelMessages::launched, [](const QJsonValue&) { return true; });
    QThread::msleep(settleMs);
    run.memory = memoryOf(process.processId());
    if (files)
        *files = residentFiles(process.processId());
    stop(process);
    return run;
}

// Whether one run of `program` succeeds (exits with 0) in the home's environment.
bool succeeds(const QString& program, const QStringList& arguments, const Home& home)
{
    QProcess client;
    client.setProcessEnvironment(home.environment());
    client.setStandardOutputFile(QProcess::nullDevice());
    client.setStandardErrorFile(QProcess::nullDevice());
    client.start(program, arguments);
    return client.waitForFinished(giveUpMs) && client.exitStatus() == QProcess::NormalExit &&
           client.exitCode() == 0;
}

// Exec of the server to the end of the first run of its client that succeeds, the client run
// again as soon as one fails; then the memory once settled, and the time of one more client run
// alone.
Run startByClient(const Served& served, const Home& home, double* clientAloneMs)
{
    QProcess process;
    process.setProcessEnvironment(home.environment());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    Run run;
    QElapsedTimer sinceExec;
    sinceExec.start();
    process.start(served.binary, {});
    while (sinceExec.elapsed() < giveUpMs && process.state() != QProcess::NotRunning) {
        if (succeeds(served.client, served.clientArguments, home)) {
            run.startMs = double(sinceExec.nsecsElapsed()) / 1e6;
            break;
        }
    }
    QThread::msleep(settleMs);
    run.memory = memoryOf(process.processId());
    for (const qint64 child : childrenOf(process.processId())) {
        const Memory memory = memoryOf(child);
        run.children.rssKb += memory.rssKb;
        run.children.pssKb += memory.pssKb;
    }
    QElapsedTimer client;
    client.start();
    succeeds(served.client, served.clientArguments, home);
    *clientAloneMs = double(client.nsecsElapsed()) / 1e6;
    stop(process);
    return run;
}

// Exec to the first answer to the request `vantrelctl recent` sends that lists the history's
// items (an answer before the history is loaded lists none).
double firstRecentMs(const QString& binary, const Home& home)
{
    QProcess process;
    const double ms = timeToAnswer(
        process, binary, home, ChannelMessages::requestRecent, ChannelMessages::recentItems,
        [](const QJsonValue& answer) { return !answer.toArray().isEmpty(); });
    stop(process);
    return ms;
}

// Exec to the floor program's "ready" (its event loop runs, its icon shown).
Run startFloor(const Home& home)
{
    QProcess process;
    process.setProcessEnvironment(home.environment());
    QElapsedTimer sinceExec;
    sinceExec.start();
    process.start(QStringLiteral(TRAY_FLOOR_BINARY), {});
    QByteArray output;
    while (!output.contains("ready") && process.waitForReadyRead(giveUpMs))
        output += process.readAllStandardOutput();
    Run run;
    if (output.contains("ready"))
        run.startMs = double(sinceExec.nsecsElapsed()) / 1e6;
    QThread::msleep(settleMs);
    run.memory = memoryOf(process.processId());
    stop(process);
    return run;
}

template <typename T> T median(QList<T> values)
{
    std::sort(values.begin(), values.end());
    return values.value(values.size() / 2);
}

QList<double> startsOf(const QList<Run>& measured)
{
    QList<double> starts;
    for (const Run& run : measured)
        starts << run.startMs;
    return starts;
}

void print(const char* name, const QList<Run>& measured)
{
    const QList<double> starts = startsOf(measured);
    QList<qint64> rss;
    QList<qint64> pss;
    for (const Run& run : measured) {
        rss << run.memory.rssKb;
        pss << run.memory.pssKb;
    }
    std::printf("%-30s start %7.1f ms (min %7.1f)  RSS %6.1f MB  PSS %6.1f MB  (median of %lld)\n",
                name, median(starts), *std::min_element(starts.begin(), starts.end()),
                double(median(rss)) / 1024, double(median(pss)) / 1024,
                static_cast<long long>(measured.size()));
}

void printChildren(const char* name, const QList<Run>& measured)
{
    QList<qint64> rss;
    QList<qint64> pss;
    for (const Run& run : measured) {
        rss << run.children.rssKb;
        pss << run.children.pssKb;
    }
    std::printf("%-30s                                 RSS %6.1f MB  PSS %6.1f MB\n", name,
                double(median(rss)) / 1024, double(median(pss)) / 1024);
}

void printLibraries(const QHash<QString, qint64>& files)
{
    QList<std::pair<qint64, QString>> largest;
    for (auto it = files.begin(); it != files.end(); ++it)
        largest.append({it.value(), it.key()});
    std::sort(largest.begin(), largest.end(), std::greater<>());
    std::printf("what the mapped files cost this build at idle (RSS, shared pages included)\n");
    for (const auto& [kb, name] : largest.mid(0, 8))
        std::printf("  %-40s %7.1f MB\n", qPrintable(name), double(kb) / 1024);
    // Linked, so mapped from the start; what it costs is what of it is resident.
    for (const QString& library : {u"libQt6Pdf.so"_s, u"libQt6PdfWidgets.so"_s}) {
        qint64 kb = -1;
        for (auto it = files.begin(); it != files.end(); ++it) {
            if (it.key().startsWith(library))
                kb = std::max(kb, 0LL) + it.value();
        }
        if (kb < 0)
            std::printf("  %-40s not mapped\n", qPrintable(library));
        else
            std::printf("  %-40s %7.1f MB  (mapped)\n", qPrintable(library), double(kb) / 1024);
    }
    for (const QString& part : {u"WebEngine"_s, u"Quick"_s, u"Qml"_s, u"LLVM"_s, u"swrast"_s}) {
        const auto names = files.keys();
        const bool mapped = std::any_of(names.begin(), names.end(), [&part](const QString& name) {
            return name.contains(part, Qt::CaseInsensitive);
        });
        std::printf("  any %-36s %s\n", qPrintable(part), mapped ? "mapped" : "not mapped");
    }
}

// Every row of the history read in date order, straight from SQLite: what the load stands on.
double rawStepThroughMs(const QString& path)
{
    return HistoryFixture::bestMs(
        [&path] { HistoryFixture::rawQuery(path, HistoryFixture::stepThroughSql); });
}

// The start-up as a script that waits for the program sees it, this build beside CopyQ's server,
// taken in turns; CopyQ's first start, which writes its configuration, is not measured, as
// Vantrel's is not. `inProcessMs`: this build's first status answer as measured above.
void benchBesideCopyq(double inProcessMs)
{
    const QString copyq = QStandardPaths::findExecutable(u"copyq"_s);
    // Asked again every 25 ms at most: a request passed before Vantrel listens is not answered.
    const Served vantrel{QStringLiteral(VANTREL_BINARY),
                         QStringLiteral(VANTRELCTL_BINARY),
                         {u"--timeout"_s, u"25"_s, u"status"_s}};
    const Served other{copyq, copyq, {u"size"_s}};
    const Home vantrelHome;
    const Home copyqHome;
    double clientMs = 0;
    QList<Run> ours;
    QList<Run> theirs;
    QList<double> ourClientMs;
    QList<double> theirClientMs;
    startByClient(vantrel, vantrelHome, &clientMs);
    if (!copyq.isEmpty())
        startByClient(other, copyqHome, &clientMs);
    for (int i = 0; i < runs; ++i) {
        ours << startByClient(vantrel, vantrelHome, &clientMs);
        ourClientMs << clientMs;
        if (!copyq.isEmpty()) {
            theirs << startByClient(other, copyqHome, &clientMs);
            theirClientMs << clientMs;
        }
    }
    std::printf("start-up to a client's first success (exec -> end of the first `vantrelctl "
                "--timeout 25 status` / `copyq size` that succeeds, run one after another; "
                "each client's own start included)\n");
    print("  this build", ours);
    std::printf("    the client alone against it: %.1f ms\n", median(ourClientMs));
    if (copyq.isEmpty()) {
        std::printf("  [CopyQ] not installed (scripts/install-deps --bench): not measured\n");
        return;
    }
    print("  [CopyQ server]", theirs);
    printChildren("  [CopyQ's clipboard monitor]", theirs);
    std::printf("    the client alone against it: %.1f ms\n", median(theirClientMs));
    const double copyqMs = median(startsOf(theirs));
    std::printf("  this build / CopyQ: %.2f by the clients, %.2f by the first status answer\n",
                median(startsOf(ours)) / copyqMs, inProcessMs / copyqMs);
}

struct ShowMain
{
    // To the main window mapped with its six counts.
    double shownMs = -1;
    // To the end of the `--show-main` process, once it has handed the command over.
    double handedMs = -1;
};

// From `vantrel --show-main` to the main window mapped with its six tabs' counts (read over AT-SPI
// by show-main-watch), against a Vantrel started afresh over the home's history and waited for
// until that is loaded, so that the window is made then; -1 when that is not reached.
ShowMain showMain(const Home& home)
{
    QProcessEnvironment environment = home.environment();
    environment.insert(u"QT_LINUX_ACCESSIBILITY_ALWAYS_ON"_s, u"1"_s);
    environment.insert(u"QT_LOGGING_RULES"_s, u"vantrel.storage.info=true"_s);
    const RunningVantrel vantrel(QStringLiteral(VANTREL_BINARY), environment, "loading time");
    QProcess watch;
    watch.setProcessEnvironment(home.environment());
    watch.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    watch.start(QStringLiteral(SHOW_MAIN_WATCH),
                {QStringLiteral(VANTREL_BINARY), home.historyPath()});
    ShowMain shown;
    if (watch.waitForFinished(3 * giveUpMs) && watch.exitCode() == 0) {
        const QList<QByteArray> figures = watch.readAllStandardOutput().simplified().split(' ');
        if (figures.size() == 2) {
            shown.shownMs = figures[0].toDouble();
            shown.handedMs = figures[1].toDouble();
        }
    }
    return shown;
}

// `--show-main` over the home's history of a million items, beside the same over an empty one.
void benchShowMain(const Home& home)
{
    const Home emptyHome;
    QDir().mkpath(QFileInfo(emptyHome.historyPath()).absolutePath());
    HistoryFixture::generate(emptyHome.historyPath(), 0);
    QList<double> shown;
    QList<double> shownEmpty;
    QList<double> handed;
    for (int i = 0; i < millionRuns; ++i) {
        const ShowMain measured = showMain(home);
        shown << measured.shownMs;
        handed << measured.handedMs;
        shownEmpty << showMain(emptyHome).shownMs;
    }
    HistoryFixture::report("1,000,000 loaded: --show-main -> mapped, six counts", median(shown),
                           median(shownEmpty));
    std::printf("  `vantrel --show-main` itself, exec to exit, handing the command over %.1f ms\n",
                median(handed));
}

// A returning user's start over a history of a million items, until `vantrelctl recent` lists
// them, beside the raw step-through of the same table (and the build before, when given).
void benchMillionStart(const QString& before)
{
    const Home home;
    const Home previousHome;
    QDir().mkpath(QFileInfo(home.historyPath()).absolutePath());
    if (!HistoryFixture::generate(home.historyPath(), millionRows)) {
        std::printf("bench_idle: could not write a history of %d rows\n", millionRows);
        return;
    }
    if (!before.isEmpty()) {
        QDir().mkpath(QFileInfo(previousHome.historyPath()).absolutePath());
        QFile::copy(home.historyPath(), previousHome.historyPath());
    }
    QList<double> ours;
    QList<double> previous;
    for (int i = 0; i < millionRuns; ++i) {
        ours << firstRecentMs(QStringLiteral(VANTREL_BINARY), home);
        if (!before.isEmpty())
            previous << firstRecentMs(before, previousHome);
    }
    HistoryFixture::report("1,000,000 items: exec -> `recent` listed", median(ours),
                           rawStepThroughMs(home.historyPath()));
    if (!before.isEmpty())
        std::printf("  [before] %10.2f ms\n", median(previous));

    benchShowMain(home);
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::printf("bench_idle: no X display, nothing measured\n");
        return 0;
    }
    const QStringList arguments = app.arguments();
    const qsizetype beforeAt = arguments.indexOf(u"--before"_s);
    const QString before = beforeAt > 0 ? arguments.value(beforeAt + 1) : QString();

    std::printf("start-up (exec -> first status answer / event loop running) and idle memory,\n"
                "empty history (made by a first start, not counted), no window shown\n");
    QList<Run> vantrel;
    QList<Run> floor;
    QList<Run> previous;
    QHash<QString, qint64> files;
    const Home vantrelHome;
    const Home floorHome;
    const Home previousHome;
    startVantrel(QStringLiteral(VANTREL_BINARY), vantrelHome);
    startFloor(floorHome);
    if (!before.isEmpty())
        startVantrel(before, previousHome);
    // Taken in turns, so that a change in the machine's load falls on all alike.
    for (int i = 0; i < runs; ++i) {
        vantrel << startVantrel(QStringLiteral(VANTREL_BINARY), vantrelHome, &files);
        floor << startFloor(floorHome);
        if (!before.isEmpty())
            previous << startVantrel(before, previousHome);
    }
    print("  this build", vantrel);
    print("  [tray icon only, Qt Widgets]", floor);
    if (!before.isEmpty())
        print("  [before]", previous);
    printLibraries(files);
    benchBesideCopyq(median(startsOf(vantrel)));
    benchMillionStart(before);
    return 0;
}
