// The companion's first look at a large history: the time from exec of the real binary to the
// first answer to the recent request that `vantrelctl recent` sends, over 1,000,000 stored items
// [the same over an empty history: start-up alone]. An answer counts once it lists items (an
// empty history's answer counts at once). No window is shown (a tray host takes the icon); each
// history is made by a first start that is not counted, as the figures are those of every later
// start.
//
//   bench_recent [--before PATH]    PATH: another build's vantrel, measured the same way
#include "HistoryFixture.h"
#include "support/ChannelMessages.h"
#include "support/MessageChannelWormhole.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QJsonArray>
#include <QJsonValue>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {
constexpr int runs = 3;
// Asked this often until the answer: the figure is this fine.
constexpr int askEveryMs = 5;
constexpr int giveUpMs = 120'000;

// A returning user's folders (no welcome) with `rows` items in the history.
class Home
{
public:
    explicit Home(int rows)
    {
        m_env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"})
            m_env.insert(QString::fromLatin1(name), m_dir.filePath(QString::fromLatin1(name)));
        QDir(m_dir.path())
            .mkdir(u"runtime"_s, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        m_env.insert(u"XDG_RUNTIME_DIR"_s, m_dir.filePath(u"runtime"_s));
        QDir().mkpath(m_dir.filePath(u"XDG_CONFIG_HOME/vantrel"_s));
        QFile defaults(m_dir.filePath(u"XDG_CONFIG_HOME/vantrel/vantrel.conf"_s));
        if (defaults.open(QIODevice::WriteOnly))
            defaults.write("[General]\nWelcomeShown=true\n");
        QDir().mkpath(m_dir.filePath(u"XDG_DATA_HOME/vantrel"_s));
        if (rows > 0)
            HistoryFixture::generate(m_dir.filePath(u"XDG_DATA_HOME/vantrel/db.sqlite3"_s), rows);
        QDir().mkpath(wormhole());
    }

    QProcessEnvironment environment() const { return m_env; }
    QString wormhole() const
    {
        return m_dir.filePath(u"XDG_DATA_HOME/KP3W7H1Y6D.wormhole/wormhole"_s);
    }

private:
    QTemporaryDir m_dir;
    QProcessEnvironment m_env;
};

// Exec to the first answer to the recent request that lists items, or to the first answer at all
// when `anyAnswer`; -1 when none came.
double firstRecentMs(const QString& binary, const Home& home, bool anyAnswer)
{
    MessageChannelWormhole channel(home.wormhole());
    QEventLoop loop;
    QElapsedTimer sinceExec;
    double answeredMs = -1;
    channel.listenForMessage(
        ChannelMessages::recentItems, &loop, [&](const std::optional<QJsonValue>& answer) {
            if (answeredMs >= 0 ||
                (!anyAnswer && answer.value_or(QJsonValue()).toArray().isEmpty()))
                return;
            answeredMs = double(sinceExec.nsecsElapsed()) / 1e6;
            loop.quit();
        });
    QTimer ask;
    QObject::connect(&ask, &QTimer::timeout, &loop, [&channel] {
        channel.passMessageObject(QJsonValue(QString()), ChannelMessages::requestRecent);
    });
    QTimer::singleShot(giveUpMs, &loop, &QEventLoop::quit);
    QProcess process;
    process.setProcessEnvironment(home.environment());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    sinceExec.start();
    process.start(binary, {});
    ask.start(askEveryMs);
    loop.exec();
    ask.stop();
    process.terminate();
    if (!process.waitForFinished(30'000))
        process.kill();
    process.waitForFinished();
    return answeredMs;
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.value(values.size() / 2);
}

void measure(const char* name, const QString& binary, const Home& large, const Home& empty)
{
    // The first starts make each history the program's own (its indexes); they are not counted.
    firstRecentMs(binary, large, false);
    firstRecentMs(binary, empty, true);
    QList<double> ours;
    QList<double> baseline;
    // Taken in turns, so that a change in the machine's load falls on both alike.
    for (int i = 0; i < runs; ++i) {
        ours << firstRecentMs(binary, large, false);
        baseline << firstRecentMs(binary, empty, true);
    }
    HistoryFixture::report(name, median(ours), median(baseline));
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::printf("bench_recent: no X display, nothing measured\n");
        return 0;
    }
    const QStringList arguments = app.arguments();
    const qsizetype beforeAt = arguments.indexOf(u"--before"_s);
    const QString before = beforeAt > 0 ? arguments.value(beforeAt + 1) : QString();
    const Home large(1'000'000);
    const Home empty(0);
    std::printf("exec -> first answer to `recent` listing the items (median of %d), no window\n",
                runs);
    measure("recent answered, 1,000,000 items", QStringLiteral(VANTREL_BINARY), large, empty);
    if (!before.isEmpty())
        measure("[before] recent answered, 1,000,000", before, large, empty);
    return 0;
}
