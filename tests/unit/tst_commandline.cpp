#include "shell/CommandLine.h"

#include <QtTest>

Q_DECLARE_METATYPE(ShellRequest)

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void eachOptionNamesItsRequest_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<ShellRequest>("request");

        QTest::newRow("no option") << QStringList{} << ShellRequest::Reopen;
        QTest::newRow("--show-main")
            << QStringList{QStringLiteral("--show-main")} << ShellRequest::ShowMain;
        QTest::newRow("--show-mini")
            << QStringList{QStringLiteral("--show-mini")} << ShellRequest::ShowMini;
        QTest::newRow("--preferences")
            << QStringList{QStringLiteral("--preferences")} << ShellRequest::Preferences;
        QTest::newRow("--toggle-recording")
            << QStringList{QStringLiteral("--toggle-recording")} << ShellRequest::ToggleRecording;
        QTest::newRow("--quit") << QStringList{QStringLiteral("--quit")} << ShellRequest::Quit;
    }

    void eachOptionNamesItsRequest()
    {
        QFETCH(QStringList, options);
        QFETCH(ShellRequest, request);

        const CommandLine commandLine(QStringList{QStringLiteral("vantrel")} + options);
        QCOMPARE(commandLine.request(), request);
        // The request survives the trip to the running instance.
        QCOMPARE(CommandLine::requestNamed(CommandLine::nameOf(request)), request);
    }

    void helpVersionAndMistakesRequestNothing_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("printed");

        QTest::newRow("--help") << QStringList{QStringLiteral("--help")} << 0
                                << QStringLiteral("--toggle-recording");
        QTest::newRow("-h") << QStringList{QStringLiteral("-h")} << 0
                            << QStringLiteral("--show-mini");
        QTest::newRow("--version")
            << QStringList{QStringLiteral("--version")} << 0 << QStringLiteral("vantrel ");
        QTest::newRow("unknown option")
            << QStringList{QStringLiteral("--frobnicate")} << 2 << QStringLiteral("frobnicate");
        QTest::newRow("two actions")
            << QStringList{QStringLiteral("--show-main"), QStringLiteral("--quit")} << 2
            << QStringLiteral("at most one option");
        QTest::newRow("stray argument")
            << QStringList{QStringLiteral("file.txt")} << 2 << QStringLiteral("Usage:");
    }

    void helpVersionAndMistakesRequestNothing()
    {
        QFETCH(QStringList, options);
        QFETCH(int, exitCode);
        QFETCH(QString, printed);

        const CommandLine commandLine(QStringList{QStringLiteral("vantrel")} + options);
        QVERIFY(!commandLine.request());
        QCOMPARE(commandLine.exitCode(), exitCode);
        QVERIFY2(commandLine.message().contains(printed), qPrintable(commandLine.message()));
    }

    void unknownWordsFromOtherProcessesAreNoRequest()
    {
        QVERIFY(!CommandLine::requestNamed("rm -rf"));
        QVERIFY(!CommandLine::requestNamed(""));
    }
};

QTEST_MAIN(TestCommandLine)
#include "tst_commandline.moc"
