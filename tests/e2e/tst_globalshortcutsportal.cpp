#include "FileWrites.h"
#include "platform/xdg/GlobalShortcutsPortal.h"
#include "shell/ShortcutBindings.h"
#include "storage/UserDefaults.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;

using FileWrites::replace;

namespace {
constexpr int timeoutMs = 10'000;
const QString mainKey = UserDefaults::mainWindowShortcutKey;
const QString miniKey = UserDefaults::miniWindowShortcutKey;

// The test portal (tests/helpers/shortcutportal) on this test's private session bus.
class PortalProcess
{
public:
    explicit PortalProcess(const QStringList& arguments = {})
    {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QStringLiteral(SHORTCUTPORTAL_BINARY), arguments);
    }
    ~PortalProcess()
    {
        m_process.kill();
        m_process.waitForFinished();
    }

    bool waitForLine(const QRegularExpression& pattern)
    {
        return QTest::qWaitFor([&] { return !linesMatching(pattern).isEmpty(); }, timeoutMs);
    }
    QStringList linesMatching(const QRegularExpression& pattern)
    {
        m_output += QString::fromUtf8(m_process.readAllStandardOutput());
        return m_output.split(QLatin1Char('\n')).filter(pattern);
    }
    // Presses the shortcut of the id, as the desktop would on the user's keys.
    bool press(const QString& id)
    {
        return QProcess::execute(QStringLiteral("dbus-send"),
                                 {QStringLiteral("--session"), QStringLiteral("--print-reply"),
                                  QStringLiteral("--dest=org.freedesktop.portal.Desktop"),
                                  QStringLiteral("/org/vantrel/test/portal"),
                                  QStringLiteral("org.vantrel.test.Portal.Press"),
                                  QStringLiteral("string:") + id}) == 0;
    }

private:
    QProcess m_process;
    QString m_output;
};

QRegularExpression line(const QString& pattern)
{
    return QRegularExpression(QLatin1Char('^') + pattern + QLatin1Char('$'));
}
} // namespace

// The shortcuts of the user defaults bound through a desktop portal on a private session bus, as
// the application binds them in a Wayland session.
class TestGlobalShortcutsPortal : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void storedShortcutsAreBoundInOneSessionAndPressed();
    void changedShortcutIsBoundInANewSession();
    void declinedShortcutIsRefused();
    void withoutPortalShortcutsAreUnavailable_data();
    void withoutPortalShortcutsAreUnavailable();

private:
    struct Bound
    {
        std::unique_ptr<GlobalShortcutsPortal> shortcuts;
        std::unique_ptr<UserDefaults> defaults;
        std::unique_ptr<ShortcutBindings> bindings;
        int mainRuns = 0;
        int miniRuns = 0;
    };
    // The bindings of the two keys over the portal, with the user defaults given.
    std::unique_ptr<Bound> bind(const QByteArray& ini);

    std::unique_ptr<QTemporaryDir> m_configHome;
};

void TestGlobalShortcutsPortal::init()
{
    m_configHome = std::make_unique<QTemporaryDir>();
    QVERIFY(m_configHome->isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_configHome->path()));
}

std::unique_ptr<TestGlobalShortcutsPortal::Bound>
TestGlobalShortcutsPortal::bind(const QByteArray& ini)
{
    const QString path = m_configHome->filePath(u"vantrel/vantrel.conf"_s);
    if (!QDir().mkpath(QFileInfo(path).absolutePath()) || !replace(path, ini))
        return nullptr;
    auto bound = std::make_unique<Bound>();
    bound->shortcuts = std::make_unique<GlobalShortcutsPortal>(QDBusConnection::sessionBus());
    bound->defaults = std::make_unique<UserDefaults>();
    bound->bindings = std::make_unique<ShortcutBindings>(*bound->shortcuts, *bound->defaults);
    Bound* runs = bound.get();
    bound->bindings->bind(mainKey, u"Open the main window"_s, [runs] { ++runs->mainRuns; });
    bound->bindings->bind(miniKey, u"Open the mini window"_s, [runs] { ++runs->miniRuns; });
    return bound;
}

void TestGlobalShortcutsPortal::storedShortcutsAreBoundInOneSessionAndPressed()
{
    PortalProcess portal;
    QVERIFY(portal.waitForLine(line(u"ready"_s)));
    const auto bound = bind("[General]\nMainWindowShortcut=Ctrl+Alt+V\n"
                            "MiniWindowShortcut=Meta+Shift+F5\n");
    QVERIFY(bound);
    QSignalSpy available(bound->bindings.get(), &ShortcutBindings::availabilityChanged);
    QTRY_VERIFY_WITH_TIMEOUT(bound->bindings->isAvailable(), timeoutMs);
    QCOMPARE(available.size(), 1);

    QVERIFY(portal.waitForLine(
        line(u"bound \\S+ MiniWindowShortcut SHIFT\\+LOGO\\+F5 Open the mini window"_s)));
    QVERIFY(portal.waitForLine(
        line(u"bound \\S+ MainWindowShortcut CTRL\\+ALT\\+v Open the main window"_s)));
    // Both in one session, asked for once.
    QCOMPARE(portal.linesMatching(line(u"session .*"_s)).size(), 1);
    QCOMPARE(bound->bindings->refusal(mainKey), GlobalShortcuts::Refusal::None);
    QCOMPARE(bound->bindings->refusal(miniKey), GlobalShortcuts::Refusal::None);

    QVERIFY(portal.press(mainKey));
    QTRY_COMPARE_WITH_TIMEOUT(bound->mainRuns, 1, timeoutMs);
    QVERIFY(portal.press(miniKey));
    QTRY_COMPARE_WITH_TIMEOUT(bound->miniRuns, 1, timeoutMs);
    QCOMPARE(bound->mainRuns, 1);
}

void TestGlobalShortcutsPortal::changedShortcutIsBoundInANewSession()
{
    PortalProcess portal;
    QVERIFY(portal.waitForLine(line(u"ready"_s)));
    const auto bound = bind("[General]\nMainWindowShortcut=Ctrl+Alt+V\n");
    QVERIFY(bound);
    QVERIFY(portal.waitForLine(line(u"bound \\S+ MainWindowShortcut CTRL\\+ALT\\+v .*"_s)));
    const QString first = portal.linesMatching(line(u"session .*"_s)).value(0).mid(8);

    bound->bindings->setShortcut(mainKey, QKeySequence(u"Ctrl+Alt+B"_s));
    QVERIFY(portal.waitForLine(line(u"closed "_s + QRegularExpression::escape(first))));
    QVERIFY(portal.waitForLine(line(u"bound \\S+ MainWindowShortcut CTRL\\+ALT\\+b .*"_s)));
    const QStringList sessions = portal.linesMatching(line(u"session .*"_s));
    QCOMPARE(sessions.size(), 2);
    QVERIFY(sessions.at(1).mid(8) != first);

    // Only the new session holds the shortcut now: one press, one run.
    QVERIFY(portal.press(mainKey));
    QTRY_COMPARE_WITH_TIMEOUT(bound->mainRuns, 1, timeoutMs);
    QTest::qWait(200);
    QCOMPARE(bound->mainRuns, 1);

    // Removing the last shortcut leaves no session behind.
    bound->bindings->setShortcut(mainKey, QKeySequence());
    QVERIFY(
        portal.waitForLine(line(u"closed "_s + QRegularExpression::escape(sessions.at(1).mid(8)))));
    QCOMPARE(portal.linesMatching(line(u"session .*"_s)).size(), 2);
}

void TestGlobalShortcutsPortal::declinedShortcutIsRefused()
{
    PortalProcess portal({u"--decline"_s, miniKey});
    QVERIFY(portal.waitForLine(line(u"ready"_s)));
    const auto bound = bind("[General]\nMainWindowShortcut=Ctrl+Alt+V\n"
                            "MiniWindowShortcut=Ctrl+Alt+N\n");
    QVERIFY(bound);
    QSignalSpy changed(bound->bindings.get(), &ShortcutBindings::shortcutChanged);
    QTRY_COMPARE_WITH_TIMEOUT(bound->bindings->refusal(miniKey), GlobalShortcuts::Refusal::Declined,
                              timeoutMs);
    QCOMPARE(bound->bindings->refusal(mainKey), GlobalShortcuts::Refusal::None);
    QVERIFY(!changed.isEmpty());
    QCOMPARE(changed.last().at(0).toString(), miniKey);
    QCOMPARE(changed.last().at(1).value<QKeySequence>(), QKeySequence(u"Ctrl+Alt+N"_s));
}

void TestGlobalShortcutsPortal::withoutPortalShortcutsAreUnavailable_data()
{
    QTest::addColumn<bool>("portalRuns");
    QTest::newRow("no portal on the bus") << false;
    QTest::newRow("a portal without global shortcuts") << true;
}

void TestGlobalShortcutsPortal::withoutPortalShortcutsAreUnavailable()
{
    QFETCH(bool, portalRuns);
    std::unique_ptr<PortalProcess> portal;
    if (portalRuns) {
        portal = std::make_unique<PortalProcess>(QStringList{u"--without-shortcuts"_s});
        QVERIFY(portal->waitForLine(line(u"ready"_s)));
    }
    const auto bound = bind("[General]\nMainWindowShortcut=Ctrl+Alt+V\n");
    QVERIFY(bound);
    QSignalSpy changed(bound->bindings.get(), &ShortcutBindings::shortcutChanged);
    QTRY_COMPARE_WITH_TIMEOUT(bound->bindings->refusal(mainKey),
                              GlobalShortcuts::Refusal::Unavailable, timeoutMs);
    QVERIFY(!bound->bindings->isAvailable());
    QCOMPARE(changed.size(), 1);
    // Nothing stored: nothing refused.
    QCOMPARE(bound->bindings->refusal(miniKey), GlobalShortcuts::Refusal::None);
    // A shortcut recorded later is refused at once.
    bound->bindings->setShortcut(miniKey, QKeySequence(u"Ctrl+Alt+N"_s));
    QCOMPARE(bound->bindings->refusal(miniKey), GlobalShortcuts::Refusal::Unavailable);
}

QTEST_GUILESS_MAIN(TestGlobalShortcutsPortal)
#include "tst_globalshortcutsportal.moc"
