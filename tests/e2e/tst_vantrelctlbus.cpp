#include "support/MessageChannelWormhole.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

namespace {
QJsonObject summary(const QString& uuid, double date, const QString& desc)
{
    return {{QStringLiteral("uuid"), uuid},
            {QStringLiteral("date"), date},
            {QStringLiteral("app"), QStringLiteral("org.gnome.TextEditor")},
            {QStringLiteral("desc"), desc},
            {QStringLiteral("marked"), false}};
}

// The application's side of the channel, as far as vantrelctl sees it: answers "app.isLaunched"
// and "request.update.recent" (with a canned list, newest first), records "copy" requests and
// answers them, copied when the uuid is on the list.
class FakeApplication : public QObject
{
public:
    FakeApplication(MessageChannelWormhole& channel, const QJsonArray& recent)
    {
        channel.listenForMessage(QStringLiteral("app.isLaunched"), this, [&channel](const auto&) {
            channel.passMessageObject(QJsonValue(QString()), QStringLiteral("app.launched"));
        });
        channel.listenForMessage(
            QStringLiteral("request.update.recent"), this, [&channel, recent](const auto&) {
                channel.passMessageObject(recent, QStringLiteral("response.update.recent"));
            });
        channel.listenForMessage(
            QStringLiteral("copy"), this,
            [this, &channel, recent](const std::optional<QJsonValue>& message) {
                const QJsonObject request = message.value_or(QJsonValue()).toObject();
                copies.append(request);
                const QJsonValue uuid = request[QStringLiteral("uuid")];
                const bool known = std::any_of(recent.begin(), recent.end(), [&](const auto& item) {
                    return item[QStringLiteral("uuid")] == uuid;
                });
                QJsonObject answer{{QStringLiteral("uuid"), uuid},
                                   {QStringLiteral("copied"), known}};
                if (!known)
                    answer[QStringLiteral("error")] = QStringLiteral("no such item");
                channel.passMessageObject(answer, QStringLiteral("response.copy.") +
                                                      request[QStringLiteral("reply")].toString());
            });
    }

    QList<QJsonValue> copies;
};

struct CtlRun
{
    int exitCode = -1;
    QString out;
    QString err;
    qint64 elapsedMs = 0;
};
} // namespace

// vantrelctl, run as its own process, against a channel in this process: both directions of
// the session bus, under the test's private dbus-run-session.
class TestVantrelctlBus : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_data.isValid());
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_data.path()));
        QVERIFY2(QDBusConnection::sessionBus().isConnected(), "needs a session bus");
    }

    void init()
    {
        m_channel = std::make_unique<MessageChannelWormhole>();
        QVERIFY(m_channel->isAnnouncing());
        m_recent =
            QJsonArray{summary(QStringLiteral("u3"), 1733662803, QStringLiteral("newest")),
                       summary(QStringLiteral("u2"), 1733662802, QStringLiteral("two\nlines")),
                       summary(QStringLiteral("u1"), 1733662801, QStringLiteral("oldest"))};
    }

    void cleanup()
    {
        m_application.reset();
        m_channel.reset();
    }

    void statusSucceedsWhenTheApplicationAnswers()
    {
        startApplication();
        CtlRun run = runCtl({QStringLiteral("status")});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, QStringLiteral("running\n"));
        run = runCtl({QStringLiteral("status"), QStringLiteral("--json")});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, QStringLiteral("\"\"\n"));
    }

    void statusFailsWithinItsTimeoutWhenNobodyAnswers()
    {
        const CtlRun run =
            runCtl({QStringLiteral("--timeout"), QStringLiteral("400"), QStringLiteral("status")});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.out.isEmpty());
        QVERIFY2(run.elapsedMs >= 400 && run.elapsedMs < 5000,
                 qPrintable(QString::number(run.elapsedMs)));
    }

    void statusWithoutSessionBusFailsAtOnce()
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                           QStringLiteral("unix:path=") + m_data.filePath(QStringLiteral("none")));
        const CtlRun run = runCtl({QStringLiteral("status")}, environment);
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.elapsedMs < 1500);
    }

    void recentAsJsonPrintsTheListAsSent()
    {
        startApplication();
        const CtlRun run = runCtl({QStringLiteral("recent"), QStringLiteral("--json")});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.out.endsWith(u'\n'));
        QCOMPARE(run.out.count(u'\n'), 1);
        QCOMPARE(QJsonDocument::fromJson(run.out.toUtf8()).array(), m_recent);
    }

    void recentPrintsOneLinePerItemNewestFirst()
    {
        startApplication();
        const CtlRun run = runCtl({QStringLiteral("recent")});
        QCOMPARE(run.exitCode, 0);
        const QStringList lines = run.out.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 3);
        QStringList uuids;
        for (const QString& line : lines) {
            QCOMPARE(line.count(u'\t'), 3);
            uuids << line.section(u'\t', 0, 0);
        }
        QCOMPARE(uuids,
                 (QStringList{QStringLiteral("u3"), QStringLiteral("u2"), QStringLiteral("u1")}));
        QCOMPARE(lines[1].section(u'\t', 3), QStringLiteral("two lines"));
    }

    void copyPassesTheUuidToTheRunningApplication()
    {
        startApplication();
        const CtlRun run = runCtl({QStringLiteral("copy"), QStringLiteral("u2")});
        QCOMPARE(run.exitCode, 0);
        QTRY_COMPARE(m_application->copies.size(), 1);
        const QJsonObject request = m_application->copies.first().toObject();
        QCOMPARE(request.value(QStringLiteral("uuid")).toString(), QStringLiteral("u2"));
        for (const QString& key : summary({}, 0, {}).keys())
            QVERIFY(request.contains(key));
        // The answer was this run's alone, and is gone once read.
        const QString answer =
            QStringLiteral("response.copy.") + request[QStringLiteral("reply")].toString();
        QVERIFY(!m_channel->readMessage(answer));
    }

    void copyOfAnUnknownItemFailsSayingSo()
    {
        startApplication();
        const CtlRun run = runCtl({QStringLiteral("copy"), QStringLiteral("u7")});
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.err, QStringLiteral("vantrelctl: no such item: u7\n"));
        QVERIFY(run.out.isEmpty());
    }

    void copyWithoutApplicationFailsAndPassesNothing()
    {
        const QString file = m_channel->folder() + QStringLiteral("/copy.archive");
        QFile::remove(file);
        const CtlRun run = runCtl({QStringLiteral("copy"), QStringLiteral("u2"),
                                   QStringLiteral("--timeout"), QStringLiteral("300")});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(!QFile::exists(file));
    }

    void watchPrintsAnInsertWithItsSummary()
    {
        QProcess watch;
        watch.start(QStringLiteral(VANTRELCTL_PATH), {QStringLiteral("watch")});
        QVERIFY(watch.waitForStarted());
        // Announced again and again, as vantrelctl listens only once it has started.
        QTimer repeat;
        connect(&repeat, &QTimer::timeout, this, [this] {
            m_channel->passMessageObject(
                summary(QStringLiteral("u9"), 1733662809, QStringLiteral("copied\ttext")),
                QStringLiteral("insert"));
        });
        repeat.start(100);
        QByteArray out;
        QTRY_VERIFY_WITH_TIMEOUT((out += watch.readAllStandardOutput()).contains("insert\tu9\t"),
                                 10000);
        const QByteArray line = out.mid(out.indexOf("insert\tu9\t")).split('\n').first();
        QVERIFY(line.endsWith("\tcopied text"));
        watch.terminate();
        QVERIFY(watch.waitForFinished(5000));
    }

    void watchStopsAfterItsTimeout()
    {
        const CtlRun run = runCtl({QStringLiteral("watch"), QStringLiteral("--json"),
                                   QStringLiteral("--timeout"), QStringLiteral("300")});
        QCOMPARE(run.exitCode, 0);
    }

    void badUsageExitsWithTwo_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("no command") << QStringList();
        QTest::newRow("unknown command") << QStringList{QStringLiteral("paste")};
        QTest::newRow("copy without uuid") << QStringList{QStringLiteral("copy")};
        QTest::newRow("bad timeout") << QStringList{
            QStringLiteral("status"), QStringLiteral("--timeout"), QStringLiteral("x")};
    }
    void badUsageExitsWithTwo()
    {
        QFETCH(QStringList, arguments);
        const CtlRun run = runCtl(arguments);
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.out.isEmpty());
        QVERIFY(run.err.contains(QStringLiteral("--help")));
    }

    void helpExitsWithZero()
    {
        const CtlRun run = runCtl({QStringLiteral("--help")});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.out.startsWith(QStringLiteral("Usage: vantrelctl")));
    }

    // The history store may open the channel on a pool thread, which has no event loop.
    void channelMadeOnAThreadWithoutEventLoopStillReceives()
    {
        m_channel.reset();
        std::unique_ptr<QThread> maker(
            QThread::create([this] { m_channel = std::make_unique<MessageChannelWormhole>(); }));
        maker->start();
        QVERIFY(maker->wait(5000));
        startApplication();
        QCOMPARE(runCtl({QStringLiteral("status")}).exitCode, 0);
    }

private:
    void startApplication()
    {
        m_application = std::make_unique<FakeApplication>(*m_channel, m_recent);
    }

    // Waits through the event loop, so that the application side in this process can answer.
    static CtlRun
    runCtl(const QStringList& arguments,
           const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
    {
        QProcess process;
        process.setProcessEnvironment(environment);
        QSignalSpy finished(&process, &QProcess::finished);
        QElapsedTimer timer;
        timer.start();
        process.start(QStringLiteral(VANTRELCTL_PATH), arguments);
        CtlRun run;
        if (finished.isEmpty() && !finished.wait(20000))
            return run;
        run.elapsedMs = timer.elapsed();
        run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        run.out = QString::fromUtf8(process.readAllStandardOutput());
        run.err = QString::fromUtf8(process.readAllStandardError());
        return run;
    }

    QTemporaryDir m_data;
    std::unique_ptr<MessageChannelWormhole> m_channel;
    std::unique_ptr<FakeApplication> m_application;
    QJsonArray m_recent;
};

QTEST_GUILESS_MAIN(TestVantrelctlBus)
#include "tst_vantrelctlbus.moc"
