// The real binary with a web address in its history, served by a loopback HTTP server that
// counts what it is asked for: selecting the address asks for nothing until "Load Page" is
// pressed; with "Load web pages in previews" on, selecting it loads it at once.
#include "PageServer.h"
#include "VantrelSession.h"
#include "X11Windows.h"

#include <QProcess>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {
constexpr int timeoutMs = 15'000;
constexpr int pageLoadTimeoutMs = 60'000;
constexpr int clickAttempts = 5;
// Where the first row and the Load Page button lie in the main window at its first size
// (960 x 620, the list's first row and the middle of the preview).
const QPoint firstRow(360, 118);
// The first run's welcome, above the lists, would move the rows the clicks aim at.
const QByteArray returningUser = "[General]\nWelcomeShown=true\n";
const QPoint loadPageButton(756, 359);

QByteArray xdotool(const QStringList& arguments)
{
    QProcess process;
    process.start(u"xdotool"_s, arguments);
    process.waitForFinished();
    return process.exitCode() == 0 ? process.readAllStandardOutput().trimmed() : QByteArray();
}

void clickInMainWindow(QPoint at)
{
    const QString window = QString::fromLatin1(
        xdotool({u"search"_s, u"--onlyvisible"_s, u"--name"_s, u"^Vantrel$"_s}));
    xdotool({u"mousemove"_s, u"--window"_s, window, QString::number(at.x()),
             QString::number(at.y()), u"click"_s, u"1"_s});
}
} // namespace

class TestWebPreviewE2E : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QTRY_VERIFY_WITH_TIMEOUT(!xdotool({u"get_num_desktops"_s}).isEmpty(), 30'000);
    }

    void selectingAWebAddressFetchesNothingUntilLoadPage()
    {
        PageServer server;
        VantrelSession session;
        session.writeUserDefaults(returningUser);
        QVERIFY(session.start());
        const QString address = server.address(u"one-time-link"_s).toString();
        QVERIFY(session.copyAndWaitSeen({u"text/plain="_s + address}));
        showMainWindow(session);

        selectFirstRow(session);
        QVERIFY(server.paths.isEmpty());

        clickInMainWindow(loadPageButton);
        QTRY_COMPARE_WITH_TIMEOUT(server.paths.size(), 1, pageLoadTimeoutMs);
        // Nothing had been on its way before: the one request is the button's.
        QCOMPARE(server.paths, QStringList{u"/one-time-link"_s});
        QVERIFY(session.stop());
    }

    void withLoadingChosenSelectingAWebAddressLoadsIt()
    {
        PageServer server;
        VantrelSession session;
        session.writeUserDefaults(returningUser + "LoadWebPagesInPreviews=true\n");
        QVERIFY(session.start());
        QVERIFY(
            session.copyAndWaitSeen({u"text/plain="_s + server.address(u"at-once"_s).toString()}));
        showMainWindow(session);

        selectFirstRow(session);
        QTRY_COMPARE_WITH_TIMEOUT(server.paths, QStringList{u"/at-once"_s}, pageLoadTimeoutMs);
        QVERIFY(session.stop());
    }

private:
    static void showMainWindow(VantrelSession& session)
    {
        QCOMPARE(session.vantrel({u"--show-main"_s}).first, 0);
        QTRY_COMPARE_WITH_TIMEOUT(activeWindowTitle(), u"Vantrel"_s, timeoutMs);
        QVERIFY(session.waitForOutput("loading time"));
    }

    // A click on the row copies it: the clipboard's change is the sign it was selected. The
    // rows are built a moment after the history has loaded, so a click on the empty list
    // before that is made again.
    static void selectFirstRow(VantrelSession& session)
    {
        const int before = session.changesSeen();
        const auto selected = [&session, before] { return session.changesSeen() > before; };
        for (int attempt = 0; attempt < clickAttempts && !selected(); ++attempt) {
            clickInMainWindow(firstRow);
            if (QTest::qWaitFor(selected, timeoutMs / clickAttempts))
                break;
        }
        QVERIFY(selected());
    }
};

QTEST_GUILESS_MAIN(TestWebPreviewE2E)
#include "tst_webpreview_e2e.moc"
