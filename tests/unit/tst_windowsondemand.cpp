#include "shell/WindowsOnDemand.h"

#include <QStringList>
#include <QTest>

// Windows that only record the commands they are given.
class RecordedWindows : public WindowCommands
{
public:
    void showMainWindow() override { commands << QStringLiteral("main"); }
    void showMiniWindow() override { commands << QStringLiteral("mini"); }
    void handleReopenWindow() override { commands << QStringLiteral("reopen"); }
    void showNoTrayNotice() override { commands << QStringLiteral("no tray"); }
    void showWelcome() override { commands << QStringLiteral("welcome"); }

    QStringList commands;
};

using namespace Qt::StringLiterals;

using Command = void (WindowCommands::*)();
Q_DECLARE_METATYPE(Command)

class TestWindowsOnDemand : public QObject
{
    Q_OBJECT

private slots:
    // A command that brings a window up makes the windows, once; the notices asked for before
    // then reach them first, in the order the start-up asks them.
    void aWindowCommandMakesTheWindowsOnceWithTheNoticesAskedBefore_data()
    {
        QTest::addColumn<Command>("command");
        QTest::addColumn<QString>("name");
        QTest::newRow("main window") << &WindowCommands::showMainWindow << u"main"_s;
        QTest::newRow("mini window") << &WindowCommands::showMiniWindow << u"mini"_s;
        QTest::newRow("re-open") << &WindowCommands::handleReopenWindow << u"reopen"_s;
    }
    void aWindowCommandMakesTheWindowsOnceWithTheNoticesAskedBefore()
    {
        QFETCH(Command, command);
        QFETCH(QString, name);
        RecordedWindows recorded;
        int made = 0;
        WindowsOnDemand windows([&]() -> WindowCommands& {
            ++made;
            return recorded;
        });
        windows.showNoTrayNotice();
        windows.showWelcome();
        QCOMPARE(made, 0);

        (windows.*command)();
        QCOMPARE(made, 1);
        QCOMPARE(recorded.commands, QStringList({u"no tray"_s, u"welcome"_s, name}));
        (windows.*command)();
        windows.showWelcome();
        QCOMPARE(made, 1);
        QCOMPARE(recorded.commands.mid(3), QStringList({name, u"welcome"_s}));
    }

    // Without a notice asked for, the windows are made with nothing but the command.
    void windowsMadeWithoutNoticesGetOnlyTheCommand()
    {
        RecordedWindows recorded;
        WindowsOnDemand windows([&]() -> WindowCommands& { return recorded; });
        windows.showMiniWindow();
        QCOMPARE(recorded.commands, QStringList{u"mini"_s});
    }
};

QTEST_GUILESS_MAIN(TestWindowsOnDemand)
#include "tst_windowsondemand.moc"
