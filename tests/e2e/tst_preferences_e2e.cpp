#include "KeyPresses.h"
#include "VantrelSession.h"
#include "X11Windows.h"

#include <QFile>
#include <QProcess>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {
constexpr int timeoutMs = 10'000;

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

// The preferences panel of the real binary, driven from the keyboard as a user without a mouse
// would: the panel opens with the focus on the copy mode, and the label "Main window" takes
// the focus to its recorder with Alt+M.
class TestPreferencesE2E : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QTRY_VERIFY_WITH_TIMEOUT(QProcess::execute(u"xdotool"_s, {u"get_num_desktops"_s}) == 0,
                                 30'000);
    }

    void aChoiceSurvivesTheProcessBeingKilled()
    {
        VantrelSession session;
        QVERIFY(session.start({u"--preferences"_s}));
        QTRY_COMPARE_WITH_TIMEOUT(activeWindowTitle(), u"Preferences"_s, timeoutMs);
        // From "Copy", the arrow key moves to "Copy twice" and chooses it.
        QVERIFY(pressKeys(u"Right"_s));
        const QString config = session.dataFolder() + u"/config"_s;
        QTRY_VERIFY_WITH_TIMEOUT(readFile(config).contains(R"("copyMode":1)"), timeoutMs);

        session.stop(SIGKILL);
        QVERIFY(readFile(config).contains(R"("copyMode":1)"));
        QVERIFY(session.start());
        // "Copy twice": only a text copied twice in a row is recorded.
        for (const QString& text : {u"first"_s, u"first"_s, u"once"_s, u"second"_s, u"second"_s})
            QVERIFY(session.copyAndWaitSeen({u"text/plain="_s + text}));
        QTRY_COMPARE_WITH_TIMEOUT(session.keywords(), QStringList({u"second"_s, u"first"_s}),
                                  timeoutMs);
    }

    void aShortcutRecordedInThePanelBringsUpTheMainWindow()
    {
        VantrelSession session;
        QVERIFY(session.start({u"--preferences"_s}));
        QTRY_COMPARE_WITH_TIMEOUT(activeWindowTitle(), u"Preferences"_s, timeoutMs);
        QVERIFY(pressKeys(u"alt+m"_s));
        QVERIFY(pressKeys(u"ctrl+alt+p"_s));
        QTRY_VERIFY_WITH_TIMEOUT(
            readFile(session.userDefaultsPath()).contains("MainWindowShortcut=Ctrl+Alt+P"),
            timeoutMs);
        QVERIFY(!windowShown(u"Vantrel"_s));

        QVERIFY(pressKeys(u"ctrl+alt+p"_s));
        QTRY_VERIFY_WITH_TIMEOUT(windowShown(u"Vantrel"_s), timeoutMs);
        QTRY_COMPARE_WITH_TIMEOUT(activeWindowTitle(), u"Vantrel"_s, timeoutMs);
    }
};

QTEST_MAIN(TestPreferencesE2E)
#include "tst_preferences_e2e.moc"
