#include "platform/GlobalShortcutsX11.h"
#include "shell/ShortcutBindings.h"

#include <QDir>
#include <QGuiApplication>
#include <QProcess>
#include <QSaveFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <xcb/xcb.h>

using namespace Qt::StringLiterals;

namespace {
bool press(const QString& keys)
{
    QProcess xdotool;
    xdotool.start(u"xdotool"_s, {u"key"_s, keys});
    return xdotool.waitForFinished() && xdotool.exitCode() == 0;
}

// As an editor saves: a new file renamed over the old one.
bool replace(const QString& path, const QByteArray& contents)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size() &&
           file.commit();
}
} // namespace

// The user defaults of a private configuration folder bound to real X11 key grabs, as the
// application binds them.
class tst_ShortcutBindingsX11 : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void storedShortcutChangedInTheFileTakesEffectWithoutRestart();

private:
    QTemporaryDir m_configHome;
};

void tst_ShortcutBindingsX11::initTestCase()
{
    QCOMPARE(QGuiApplication::platformName(), u"xcb"_s);
    QVERIFY(m_configHome.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_configHome.path()));
}

void tst_ShortcutBindingsX11::storedShortcutChangedInTheFileTakesEffectWithoutRestart()
{
    const QString path = m_configHome.filePath(u"vantrel/vantrel.conf"_s);
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QVERIFY(replace(path, "[General]\nMainWindowShortcut=Ctrl+Alt+V\n"));

    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    QVERIFY(x11);
    xcb_connection_t* connection = x11->connection();
    GlobalShortcutsX11 shortcuts(connection,
                                 xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root);
    ShortcutBindings bindings(shortcuts);
    QCOMPARE(bindings.settingsPath(), path);
    int mainRuns = 0;
    int miniRuns = 0;
    bindings.bind(ShortcutBindings::mainWindowShortcutKey, [&] { ++mainRuns; });
    bindings.bind(ShortcutBindings::miniWindowShortcutKey, [&] { ++miniRuns; });

    QVERIFY(press(u"ctrl+alt+v"_s));
    QTRY_COMPARE(mainRuns, 1);

    QSignalSpy changed(&bindings, &ShortcutBindings::shortcutChanged);
    QVERIFY(replace(path, "[General]\nMainWindowShortcut=Ctrl+Shift+B\n"
                          "MiniWindowShortcut=Ctrl+Alt+V\n"));
    QTRY_COMPARE(changed.count(), 2);

    // The old combination now belongs to the other binding; the new one runs the first action.
    QVERIFY(press(u"ctrl+alt+v"_s));
    QTRY_COMPARE(miniRuns, 1);
    QCOMPARE(mainRuns, 1);
    QVERIFY(press(u"ctrl+shift+b"_s));
    QTRY_COMPARE(mainRuns, 2);
    QCOMPARE(miniRuns, 1);
}

QTEST_MAIN(tst_ShortcutBindingsX11)
#include "tst_shortcutbindingsx11.moc"
