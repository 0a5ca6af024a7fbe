#include "shell/ShortcutCommands.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// The commands a desktop's own shortcuts run where Vantrel binds none, and where the desktop
// takes them.
class TestShortcutCommands : public QObject
{
    Q_OBJECT

private slots:
    void commandNamesVantrelOnlyWhereThatNameFindsIt_data()
    {
        QTest::addColumn<QString>("onPath");
        QTest::addColumn<bool>("byName");
        QTest::newRow("this program on the PATH") << u"self"_s << true;
        QTest::newRow("another vantrel on the PATH") << u"/bin/true"_s << false;
        QTest::newRow("none on the PATH") << QString() << false;
    }

    void commandNamesVantrelOnlyWhereThatNameFindsIt()
    {
        QFETCH(QString, onPath);
        QFETCH(bool, byName);
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString self = QCoreApplication::applicationFilePath();
        if (!onPath.isEmpty())
            QVERIFY(
                QFile::link(onPath == u"self"_s ? self : onPath, folder.filePath(u"vantrel"_s)));
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(folder.path()));
        const QString main = ShortcutCommands::showMainCommand();
        const QString mini = ShortcutCommands::showMiniCommand();
        qputenv("PATH", path);

        const QString program = byName ? u"vantrel"_s : self;
        QCOMPARE(main, program + u" --show-main"_s);
        QCOMPARE(mini, program + u" --show-mini"_s);
    }

    void whereToBindFollowsTheDesktop_data()
    {
        QTest::addColumn<QString>("currentDesktop");
        QTest::addColumn<QString>("named");
        QTest::newRow("GNOME") << u"GNOME"_s << u"GNOME"_s;
        QTest::newRow("Ubuntu's GNOME") << u"ubuntu:GNOME"_s << u"GNOME"_s;
        QTest::newRow("KDE Plasma") << u"KDE"_s << u"KDE Plasma"_s;
        QTest::newRow("Xfce") << u"XFCE"_s << u"Xfce"_s;
        QTest::newRow("Cinnamon") << u"X-Cinnamon"_s << u"Cinnamon"_s;
        QTest::newRow("sway, with the command") << u"sway"_s << u"--show-mini"_s;
        QTest::newRow("Hyprland, with the command") << u"Hyprland"_s << u"--show-mini"_s;
        QTest::newRow("first known name wins") << u"Unity:KDE:GNOME"_s << u"KDE Plasma"_s;
        QTest::newRow("unknown desktop") << u"EDE"_s << u"desktop's keyboard settings"_s;
        QTest::newRow("none") << QString() << u"desktop's keyboard settings"_s;
    }

    void whereToBindFollowsTheDesktop()
    {
        QFETCH(QString, currentDesktop);
        QFETCH(QString, named);
        const QString text = ShortcutCommands::whereToBind(currentDesktop);
        QVERIFY2(text.contains(named), qPrintable(text));
    }
};

QTEST_GUILESS_MAIN(TestShortcutCommands)
#include "tst_shortcutcommands.moc"
