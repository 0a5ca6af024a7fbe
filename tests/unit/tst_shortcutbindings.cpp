#include "FileWrites.h"
#include "platform/GlobalShortcuts.h"
#include "shell/ShortcutBindings.h"
#include "storage/UserDefaults.h"

#include <QFile>
#include <QKeySequence>
#include <QMap>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;

namespace {
using FileWrites::replace;
using FileWrites::writeInPlace;

// Keeps what is registered, as a session with global shortcuts would, refusing a combination
// that another id holds.
class RecordingShortcuts : public GlobalShortcuts
{
public:
    bool registerShortcut(const QString& id, const QKeySequence& sequence) override
    {
        registered.remove(id);
        ++registrations;
        if (sequence.isEmpty() || registered.key(sequence).size() > 0)
            return false;
        registered.insert(id, sequence);
        return true;
    }
    void unregisterShortcut(const QString& id) override { registered.remove(id); }
    void press(const QString& id) { emit activated(id); }

    QMap<QString, QKeySequence> registered;
    int registrations = 0;
};

// The owner, group and others bits, without Qt's duplicate of the owner's for the user.
constexpr QFile::Permissions permissionBits = QFile::Permissions::fromInt(0x7077);

const QString mainKey = UserDefaults::mainWindowShortcutKey;
const QString miniKey = UserDefaults::miniWindowShortcutKey;

QKeySequence portable(const QString& text)
{
    return QKeySequence::fromString(text, QKeySequence::PortableText);
}

} // namespace

class TestShortcutBindings : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void userDefaultsAreVantrelConfInTheConfigFolder();
    void storedShortcutIsRegisteredUnderItsKey_data();
    void storedShortcutIsRegisteredUnderItsKey();
    void pressingAShortcutRunsOnlyItsAction();
    void setShortcutStoresPortableTextAndRegistersAtOnce();
    void settingNoShortcutRemovesTheKeyAndUnregisters();
    void fileChangedByAnotherProcessRegistersAgain_data();
    void fileChangedByAnotherProcessRegistersAgain();
    void unchangedShortcutIsNotRegisteredAgain();
    void twoBindingsCanTradeTheirShortcuts();
    void destroyedBindingsUnregisterTheirShortcuts();

private:
    QString path() const { return m_dir->filePath(u"vantrel/vantrel.conf"_s); }

    QTemporaryDir m_configHome;
    std::unique_ptr<QTemporaryDir> m_dir;
    RecordingShortcuts m_shortcuts;
};

// QSettings reads the configuration folder once per process, before any settings are made.
void TestShortcutBindings::initTestCase()
{
    QVERIFY(m_configHome.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_configHome.path()));
}

void TestShortcutBindings::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_shortcuts.registered.clear();
    m_shortcuts.registrations = 0;
}

void TestShortcutBindings::userDefaultsAreVantrelConfInTheConfigFolder()
{
    UserDefaults defaults;
    ShortcutBindings bindings(m_shortcuts, defaults);
    QCOMPARE(bindings.settingsPath(), m_configHome.path() + u"/vantrel/vantrel.conf"_s);
    QCOMPARE(QFile::permissions(m_configHome.path() + u"/vantrel"_s) & permissionBits,
             QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void TestShortcutBindings::storedShortcutIsRegisteredUnderItsKey_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("registered");

    QTest::newRow("as stored") << "[General]\nMainWindowShortcut=Ctrl+Alt+V\n"_ba
                               << u"Ctrl+Alt+V"_s;
    QTest::newRow("without a section") << "MainWindowShortcut=Meta+Space\n"_ba << u"Meta+Space"_s;
    QTest::newRow("comma written by hand")
        << "[General]\nMainWindowShortcut=Ctrl+,\n"_ba << u"Ctrl+,"_s;
    QTest::newRow("comma quoted") << "[General]\nMainWindowShortcut=\"Ctrl+,\"\n"_ba << u"Ctrl+,"_s;
    QTest::newRow("empty value") << "[General]\nMainWindowShortcut=\n"_ba << QString();
    QTest::newRow("absent key") << "[General]\nOther=1\n"_ba << QString();
    QTest::newRow("no file") << QByteArray() << QString();
}

void TestShortcutBindings::storedShortcutIsRegisteredUnderItsKey()
{
    QFETCH(QByteArray, contents);
    QFETCH(QString, registered);

    QVERIFY(QDir().mkpath(QFileInfo(path()).absolutePath()));
    if (!contents.isEmpty())
        QVERIFY(writeInPlace(path(), contents));
    UserDefaults defaults(path());
    ShortcutBindings bindings(m_shortcuts, defaults);
    bindings.bind(mainKey, QString(), [] {});
    bindings.bind(miniKey, QString(), [] {});

    if (registered.isEmpty())
        QVERIFY(m_shortcuts.registered.isEmpty());
    else
        QCOMPARE(m_shortcuts.registered,
                 (QMap<QString, QKeySequence>{{mainKey, portable(registered)}}));
}

void TestShortcutBindings::pressingAShortcutRunsOnlyItsAction()
{
    UserDefaults defaults(path());
    ShortcutBindings bindings(m_shortcuts, defaults);
    int mainRuns = 0;
    int miniRuns = 0;
    bindings.bind(mainKey, QString(), [&] { ++mainRuns; });
    bindings.bind(miniKey, QString(), [&] { ++miniRuns; });

    m_shortcuts.press(miniKey);
    m_shortcuts.press(u"SomeOtherShortcut"_s);
    QCOMPARE(mainRuns, 0);
    QCOMPARE(miniRuns, 1);

    bindings.bind(miniKey, QString(), [&] { mainRuns += 10; });
    m_shortcuts.press(miniKey);
    QCOMPARE(mainRuns, 10);
    QCOMPARE(miniRuns, 1);
}

void TestShortcutBindings::setShortcutStoresPortableTextAndRegistersAtOnce()
{
    UserDefaults defaults(path());
    ShortcutBindings bindings(m_shortcuts, defaults);
    bindings.bind(mainKey, QString(), [] {});
    QSignalSpy changed(&bindings, &ShortcutBindings::shortcutChanged);

    bindings.setShortcut(mainKey,
                         QKeySequence(Qt::ControlModifier | Qt::ShiftModifier | Qt::Key_V));

    QCOMPARE(m_shortcuts.registered.value(mainKey), portable(u"Ctrl+Shift+V"_s));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.first().at(1).value<QKeySequence>(), portable(u"Ctrl+Shift+V"_s));
    QFile file(path());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().contains("MainWindowShortcut=Ctrl+Shift+V\n"));
    QCOMPARE(file.permissions() & permissionBits, QFile::ReadOwner | QFile::WriteOwner);
    // Another reader of the file sees the same shortcut.
    UserDefaults otherDefaults(path());
    QCOMPARE(ShortcutBindings(m_shortcuts, otherDefaults).shortcut(mainKey),
             portable(u"Ctrl+Shift+V"_s));
}

void TestShortcutBindings::settingNoShortcutRemovesTheKeyAndUnregisters()
{
    UserDefaults defaults(path());
    ShortcutBindings bindings(m_shortcuts, defaults);
    bindings.setShortcut(mainKey, portable(u"Ctrl+Alt+V"_s));
    bindings.bind(mainKey, QString(), [] {});
    QVERIFY(m_shortcuts.registered.contains(mainKey));

    bindings.setShortcut(mainKey, QKeySequence());

    QVERIFY(!m_shortcuts.registered.contains(mainKey));
    QFile file(path());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(!file.readAll().contains("MainWindowShortcut"));
}

void TestShortcutBindings::fileChangedByAnotherProcessRegistersAgain_data()
{
    QTest::addColumn<bool>("byRename");

    QTest::newRow("written in place") << false;
    QTest::newRow("replaced by rename") << true;
}

void TestShortcutBindings::fileChangedByAnotherProcessRegistersAgain()
{
    QFETCH(bool, byRename);
    const auto write = byRename ? replace : writeInPlace;

    UserDefaults defaults(path());
    ShortcutBindings bindings(m_shortcuts, defaults);
    bindings.bind(mainKey, QString(), [] {});
    QVERIFY(m_shortcuts.registered.isEmpty());
    QSignalSpy changed(&bindings, &ShortcutBindings::shortcutChanged);

    // Each value differs in length from the one before: the settings cache notices a change of
    // size even within the file system's time-stamp resolution.
    QVERIFY(write(path(), "[General]\nMainWindowShortcut=Ctrl+Alt+V\n"));
    QTRY_COMPARE(m_shortcuts.registered.value(mainKey), portable(u"Ctrl+Alt+V"_s));
    QVERIFY(write(path(), "[General]\nMainWindowShortcut=Ctrl+Shift+B\n"));
    QTRY_COMPARE(m_shortcuts.registered.value(mainKey), portable(u"Ctrl+Shift+B"_s));
    QVERIFY(write(path(), "[General]\n"));
    QTRY_VERIFY(!m_shortcuts.registered.contains(mainKey));

    QCOMPARE(changed.count(), 3);
}

void TestShortcutBindings::unchangedShortcutIsNotRegisteredAgain()
{
    UserDefaults defaults(path());
    ShortcutBindings bindings(m_shortcuts, defaults);
    bindings.setShortcut(mainKey, portable(u"Ctrl+Alt+V"_s));
    bindings.bind(mainKey, QString(), [] {});
    bindings.bind(miniKey, QString(), [] {});
    QSignalSpy changed(&bindings, &ShortcutBindings::shortcutChanged);
    const int registrations = m_shortcuts.registrations;

    QVERIFY(replace(path(), "[General]\nMainWindowShortcut=Ctrl+Alt+V\nOther=1\n"));
    QVERIFY(replace(path(), "[General]\nMainWindowShortcut=Ctrl+Alt+V\nMiniWindowShortcut=F12\n"));

    QTRY_COMPARE(changed.count(), 1);
    QCOMPARE(changed.first().at(0).toString(), miniKey);
    QCOMPARE(m_shortcuts.registrations, registrations + 1);
    QCOMPARE(m_shortcuts.registered.value(mainKey), portable(u"Ctrl+Alt+V"_s));
}

void TestShortcutBindings::twoBindingsCanTradeTheirShortcuts()
{
    UserDefaults defaults(path());
    ShortcutBindings bindings(m_shortcuts, defaults);
    bindings.setShortcut(mainKey, portable(u"Ctrl+Alt+V"_s));
    bindings.setShortcut(miniKey, portable(u"Ctrl+Alt+B"_s));
    bindings.bind(mainKey, QString(), [] {});
    bindings.bind(miniKey, QString(), [] {});

    QVERIFY(replace(path(), "[General]\nMainWindowShortcut=Ctrl+Alt+B\n"
                            "MiniWindowShortcut=Ctrl+Alt+V\nOther=1\n"));

    QTRY_COMPARE(m_shortcuts.registered.value(mainKey), portable(u"Ctrl+Alt+B"_s));
    QCOMPARE(m_shortcuts.registered.value(miniKey), portable(u"Ctrl+Alt+V"_s));
}

void TestShortcutBindings::destroyedBindingsUnregisterTheirShortcuts()
{
    QVERIFY(QDir().mkpath(QFileInfo(path()).absolutePath()));
    QVERIFY(writeInPlace(path(), "[General]\nMainWindowShortcut=Ctrl+Alt+V\n"));
    UserDefaults defaults(path());
    auto bindings = std::make_unique<ShortcutBindings>(m_shortcuts, defaults);
    bindings->bind(mainKey, QString(), [] {});
    QVERIFY(m_shortcuts.registered.contains(mainKey));

    bindings.reset();

    QVERIFY(m_shortcuts.registered.isEmpty());
}

QTEST_GUILESS_MAIN(TestShortcutBindings)
#include "tst_shortcutbindings.moc"
