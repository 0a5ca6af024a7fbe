#include "KeyPresses.h"
#include "VantrelSession.h"
#include "X11Windows.h"
#include "support/SqliteDatabase.h"
#include "support/SqliteStatement.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QtTest>

namespace {
constexpr int timeoutMs = 10'000;

bool markRow(const QString& dbPath, const QString& uuid)
{
    SqliteDatabase db;
    if (!db.open(dbPath))
        return false;
    SqliteStatement update(db, QStringLiteral("UPDATE pb_items SET marked = 1 WHERE uuid = ?"));
    update.bind(1, uuid);
    return update.exec();
}

// Whether the tray host (trayer's "panel" window) holds a window of the program with this
// WM_CLASS: the tray icon, embedded.
bool trayHolds(const QString& className)
{
    QProcess tree;
    tree.start(QStringLiteral("xwininfo"), {QStringLiteral("-root"), QStringLiteral("-tree")});
    tree.waitForFinished();
    const QStringList lines = QString::fromUtf8(tree.readAllStandardOutput()).split(u'\n');
    const QString icon = QStringLiteral("(\"%1\" \"%1\")").arg(className);
    qsizetype panelDepth = -1;
    for (const QString& line : lines) {
        const qsizetype depth = line.size() - line.trimmed().size();
        if (line.contains(QStringLiteral("(\"panel\" \"trayer\")")))
            panelDepth = depth;
        else if (panelDepth >= 0 && depth <= panelDepth)
            panelDepth = -1;
        else if (panelDepth >= 0 && line.contains(icon))
            return true;
    }
    return false;
}

QStringList payloadFiles(const QString& dataFolder)
{
    return QDir(dataFolder + QStringLiteral("/data")).entryList(QDir::Files, QDir::Name);
}
} // namespace

class TestShellE2E : public QObject
{
    Q_OBJECT

private slots:
    // Activation and minimising need the window manager, which a loaded machine may be slow to
    // start.
    void initTestCase()
    {
        QTRY_VERIFY_WITH_TIMEOUT(
            QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("get_num_desktops")}) == 0,
            30'000);
    }

    void pausedCopiesAreNeverRecorded()
    {
        VantrelSession session;
        QVERIFY(session.copy({QStringLiteral("text/plain=on the clipboard at launch")}));
        QVERIFY(session.start());
        QVERIFY(session.copy({QStringLiteral("text/plain=recorded")}));
        QTRY_COMPARE_WITH_TIMEOUT(session.rows().size(), 1, timeoutMs);

        QCOMPARE(session.vantrel({QStringLiteral("--toggle-recording")}).first, 0);
        QVERIFY(session.waitForOutput("Stop Watching"));
        QVERIFY(session.copy({QStringLiteral("text/plain=copied while paused")}));
        QCOMPARE(session.vantrel({QStringLiteral("--toggle-recording")}).first, 0);
        QVERIFY(session.waitForOutput("Start Watching", 2));

        QVERIFY(session.copy({QStringLiteral("text/plain=after resuming")}));
        QTRY_COMPARE_WITH_TIMEOUT(session.rows().size(), 2, timeoutMs);
        QCOMPARE(session.keywords(),
                 QStringList({QStringLiteral("after resuming"), QStringLiteral("recorded")}));
    }

    void laterStartBringsUpTheRunningOnesWindow_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("title");

        QTest::newRow("no option: re-open") << QStringList{} << QStringLiteral("Vantrel");
        QTest::newRow("--show-main")
            << QStringList{QStringLiteral("--show-main")} << QStringLiteral("Vantrel");
        QTest::newRow("--show-mini")
            << QStringList{QStringLiteral("--show-mini")} << QStringLiteral("Vantrel Mini");
        QTest::newRow("--preferences")
            << QStringList{QStringLiteral("--preferences")} << QStringLiteral("Preferences");
    }

    void laterStartBringsUpTheRunningOnesWindow()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, title);

        // A tray host, as on a desktop (the session starts one): its embedded icon window is not
        // one of the user's.
        VantrelSession session;
        QVERIFY(session.start());
        QVERIFY(windowShown(QStringLiteral("panel")));
        QVERIFY(!windowShown(title));

        QCOMPARE(session.vantrel(arguments).first, 0);
        QTRY_VERIFY_WITH_TIMEOUT(windowShown(title), timeoutMs);
        QTRY_COMPARE_WITH_TIMEOUT(activeWindowTitle(), title, timeoutMs);
        QCOMPARE(session.output().count(QStringLiteral("Start Watching")), 1);
        QVERIFY(!session.output().contains(QStringLiteral("no system tray")));
    }

    // On a desktop that shows no tray the first start brings up the main window, since nothing
    // else would show that Vantrel runs; a tray host started later gets the icon.
    void withoutATrayTheWindowComesUpAndALaterTrayGetsTheIcon()
    {
        VantrelSession session;
        session.setTrayHost(false);
        QVERIFY(!windowShown(QStringLiteral("panel")));
        QVERIFY(session.start());
        QTRY_VERIFY_WITH_TIMEOUT(windowShown(QStringLiteral("Vantrel")), timeoutMs);
        // The window can show before the log line has been read from the pipe.
        QVERIFY(session.waitForOutput("no system tray"));
        QVERIFY(!trayHolds(QStringLiteral("vantrel")));

        QVERIFY(session.startTrayHost());
        QTRY_VERIFY_WITH_TIMEOUT(trayHolds(QStringLiteral("vantrel")), timeoutMs);

        // Recording goes on once the window is put away.
        QProcess::execute(QStringLiteral("xdotool"),
                          {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                           QStringLiteral("--name"), QStringLiteral("^Vantrel$"),
                           QStringLiteral("windowminimize"), QStringLiteral("%@")});
        QTRY_VERIFY_WITH_TIMEOUT(!windowShown(QStringLiteral("Vantrel")), timeoutMs);
        QVERIFY(session.copy({QStringLiteral("text/plain=copied beside the window")}));
        QTRY_COMPARE_WITH_TIMEOUT(
            session.keywords(), QStringList{QStringLiteral("copied beside the window")}, timeoutMs);
    }

    void withATrayTheWindowStaysClosedAtStart()
    {
        VantrelSession session;
        QVERIFY(session.start());
        QTest::qWait(1000);
        QVERIFY(!windowShown(QStringLiteral("Vantrel")));
        QTRY_VERIFY_WITH_TIMEOUT(trayHolds(QStringLiteral("vantrel")), timeoutMs);
        QVERIFY(!session.output().contains(QStringLiteral("no system tray")));
    }

    void laterStartRestoresAMinimisedWindow()
    {
        VantrelSession session;
        QVERIFY(session.start({QStringLiteral("--show-main")}));
        QTRY_VERIFY_WITH_TIMEOUT(windowShown(QStringLiteral("Vantrel")), timeoutMs);
        QProcess::execute(QStringLiteral("xdotool"),
                          {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                           QStringLiteral("--name"), QStringLiteral("^Vantrel$"),
                           QStringLiteral("windowminimize"), QStringLiteral("%@")});
        QTRY_VERIFY_WITH_TIMEOUT(!windowShown(QStringLiteral("Vantrel")), timeoutMs);

        QCOMPARE(session.vantrel({}).first, 0);
        QTRY_VERIFY_WITH_TIMEOUT(windowShown(QStringLiteral("Vantrel")), timeoutMs);
        QTRY_COMPARE_WITH_TIMEOUT(activeWindowTitle(), QStringLiteral("Vantrel"), timeoutMs);
        QVERIFY(!windowShown(QStringLiteral("Vantrel Mini")));
    }

    void storedShortcutsWorkAndFollowChangesOfTheFile()
    {
        VantrelSession session;
        session.writeUserDefaults("[General]\nMainWindowShortcut=Ctrl+Alt+V\n");
        QVERIFY(session.start());
        QVERIFY(pressKeys(QStringLiteral("ctrl+alt+v")));
        QTRY_VERIFY_WITH_TIMEOUT(windowShown(QStringLiteral("Vantrel")), timeoutMs);
        QTRY_COMPARE_WITH_TIMEOUT(activeWindowTitle(), QStringLiteral("Vantrel"), timeoutMs);

        session.writeUserDefaults(
            "[General]\nMainWindowShortcut=Ctrl+Alt+V\nMiniWindowShortcut=Ctrl+Alt+N\n");
        // Pressed until the running Vantrel has read the file again.
        QTRY_VERIFY_WITH_TIMEOUT(pressKeys(QStringLiteral("ctrl+alt+n")) &&
                                     windowShown(QStringLiteral("Vantrel Mini")),
                                 timeoutMs);
        QVERIFY(!windowShown(QStringLiteral("Vantrel")));
    }

    void optionWithNothingRunningStartsVantrelAndDoesIt()
    {
        VantrelSession session;
        QVERIFY(session.start({QStringLiteral("--show-mini")}));
        QTRY_VERIFY_WITH_TIMEOUT(windowShown(QStringLiteral("Vantrel Mini")), timeoutMs);
        QVERIFY(!windowShown(QStringLiteral("Vantrel")));
    }

    void quitWithNothingRunningStartsNothing()
    {
        VantrelSession session;
        QCOMPARE(session.vantrel({QStringLiteral("--quit")}).first, 0);
        QVERIFY(!QFileInfo::exists(session.dbPath()));
    }

    void quittingRunsTheWholeShutdown_data()
    {
        QTest::addColumn<int>("signalNumber"); // 0: `vantrel --quit`

        QTest::newRow("vantrel --quit") << 0;
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGINT") << int(SIGINT);
        QTest::newRow("SIGHUP") << int(SIGHUP);
    }

    void quittingRunsTheWholeShutdown()
    {
        QFETCH(int, signalNumber);

        VantrelSession session;
        QVERIFY(session.start());
        QVERIFY(session.copy({QStringLiteral("text/plain=kept because marked")}));
        QTRY_COMPARE_WITH_TIMEOUT(session.rows().size(), 1, timeoutMs);
        QVERIFY(session.copy({QStringLiteral("text/plain=pruned at exit")}));
        QTRY_COMPARE_WITH_TIMEOUT(session.rows().size(), 2, timeoutMs);
        QVERIFY(session.stop());
        const QString marked = session.rows().last()[QStringLiteral("uuid")].toString();
        QVERIFY(markRow(session.dbPath(), marked));

        session.writeConfig(R"({"saveMode":2})");
        QVERIFY(session.start());
        // The pass at exit prunes what the lists hold: they must have been loaded.
        QVERIFY(session.waitForOutput("loading time"));
        // Gone while it runs, so that only the shutdown can have written it again.
        QVERIFY(QFile::remove(session.dataFolder() + QStringLiteral("/config")));
        if (signalNumber == 0) {
            QCOMPARE(session.vantrel({QStringLiteral("--quit")}).first, 0);
            QVERIFY(session.waitForExit());
        } else {
            QVERIFY(session.stop(signalNumber));
        }

        QFile config(session.dataFolder() + QStringLiteral("/config"));
        QVERIFY(config.open(QIODevice::ReadOnly));
        QVERIFY(config.readAll().contains(R"("saveMode":2)"));
        QCOMPARE(session.keywords(), QStringList{QStringLiteral("kept because marked")});
        QVERIFY(!payloadFiles(session.dataFolder()).isEmpty());
        for (const QString& file : payloadFiles(session.dataFolder()))
            QVERIFY2(file.startsWith(marked), qPrintable(file));
        QVERIFY(session.output().contains(QStringLiteral("delete data count: 1")));
    }
};

QTEST_MAIN(TestShellE2E)
#include "tst_shell_e2e.moc"
