#include "FileWrites.h"
#include "e2e/KeyPresses.h"
#include "platform/x11/GlobalShortcutsX11.h"
#include "shell/ShortcutBindings.h"
#include "storage/UserDefaults.h"

#include <QDir>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <xcb/xcb.h>

using namespace Qt::StringLiterals;

using FileWrites::replace;

// The user defaults of a private configuration folder bound to real X11 key grabs, as the
// application binds them.
class TestShortcutBindingsX11 : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void storedShortcutChangedInTheFileTakesEffectWithoutRestart();

private:
    QTemporaryDir m_configHome;
};

void TestShortcutBindingsX11::initTestCase()
{
    QCOMPARE(QGuiApplication::platformName(), u"xcb"_s);
    QVERIFY(m_configHome.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_configHome.path()));
}

void TestShortcutBindingsX11::storedShortcutChangedInTheFileTakesEffectWithoutRestart()
{
    const QString path = m_configHome.filePath(u"vantrel/vantrel.conf"_s);
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QVERIFY(replace(path, "[General]\nMainWindowShortcut=Ctrl+Alt+V\n"));

    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    QVERIFY(x11);
    xcb_connection_t* connection = x11->connection();
    GlobalShortcutsX11 shortcuts(connection,
                                 xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root);
    UserDefaults defaults;
    ShortcutBindings bindings(shortcuts, defaults);
    QCOMPARE(bindings.settingsPath(), path);
    int mainRuns = 0;
    int miniRuns = 0;
    bindings.bind(UserDefaults::mainWindowShortcutKey, QString(), [&] { ++mainRuns; });
    bindings.bind(UserDefaults::miniWindowShortcutKey, QString(), [&] { ++miniRuns; });

    QVERIFY(pressKeys(u"ctrl+alt+v"_s));
    QTRY_COMPARE(mainRuns, 1);

    QSignalSpy changed(&bindings, &ShortcutBindings::shortcutChanged);
    QVERIFY(replace(path, "[General]\nMainWindowShortcut=Ctrl+Shift+B\n"
                          "MiniWindowShortcut=Ctrl+Alt+V\n"));
    QTRY_COMPARE(changed.count(), 2);

    // The old combination now belongs to the other binding; the new one runs the first action.
    QVERIFY(pressKeys(u"ctrl+alt+v"_s));
    QTRY_COMPARE(miniRuns, 1);
    QCOMPARE(mainRuns, 1);
    QVERIFY(pressKeys(u"ctrl+shift+b"_s));
    QTRY_COMPARE(mainRuns, 2);
    QCOMPARE(miniRuns, 1);
}

QTEST_MAIN(TestShortcutBindingsX11)
#include "tst_shortcutbindingsx11.moc"
