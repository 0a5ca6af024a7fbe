#include "VantrelSession.h"
#include "X11Windows.h"

#include <QProcess>
#include <QRect>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {
constexpr int timeoutMs = 15'000;

QByteArray xdotool(const QStringList& arguments)
{
    QProcess process;
    process.start(u"xdotool"_s, arguments);
    process.waitForFinished();
    return process.exitCode() == 0 ? process.readAllStandardOutput() : QByteArray();
}

// The shown window with exactly this title, or 0.
QByteArray shownWindow(const QString& title)
{
    return xdotool({u"search"_s, u"--onlyvisible"_s, u"--name"_s, titlePattern(title)}).trimmed();
}

// The window's frame as the window manager reports it.
QRect frameOf(const QString& title)
{
    const QByteArray window = shownWindow(title);
    if (window.isEmpty())
        return {};
    QRect frame;
    for (const QByteArray& line :
         xdotool({u"getwindowgeometry"_s, u"--shell"_s, QString::fromLatin1(window)}).split('\n')) {
        const QList<QByteArray> pair = line.split('=');
        if (pair.size() != 2)
            continue;
        const int value = pair[1].toInt();
        if (pair[0] == "X")
            frame.moveLeft(value);
        else if (pair[0] == "Y")
            frame.moveTop(value);
        else if (pair[0] == "WIDTH")
            frame.setWidth(value);
        else if (pair[0] == "HEIGHT")
            frame.setHeight(value);
    }
    return frame;
}

// The clipboard's text as another application reads it.
QByteArray clipboardText()
{
    QProcess xclip;
    xclip.start(u"xclip"_s, {u"-o"_s, u"-selection"_s, u"clipboard"_s});
    xclip.waitForFinished(timeoutMs);
    return xclip.readAllStandardOutput();
}
} // namespace

class TestWindowsE2E : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QTRY_VERIFY_WITH_TIMEOUT(!xdotool({u"get_num_desktops"_s}).isEmpty(), 30'000);
    }

    void eachWindowClosesTheOtherAndReopenBringsBackTheLast()
    {
        VantrelSession session;
        QVERIFY(session.start({u"--show-main"_s}));
        QTRY_VERIFY_WITH_TIMEOUT(windowShown(u"Vantrel"_s), timeoutMs);
        QVERIFY(session.waitForOutput("loading time"));

        QCOMPARE(session.vantrel({u"--show-mini"_s}).first, 0);
        QTRY_VERIFY_WITH_TIMEOUT(windowShown(u"Vantrel Mini"_s), timeoutMs);
        QTRY_VERIFY_WITH_TIMEOUT(!windowShown(u"Vantrel"_s), timeoutMs);

        // Closed by hand (the window manager's Alt+F4), the mini window still is the one a
        // re-open brings back.
        QTRY_COMPARE_WITH_TIMEOUT(activeWindowTitle(), u"Vantrel Mini"_s, timeoutMs);
        xdotool({u"key"_s, u"--clearmodifiers"_s, u"alt+F4"_s});
        QTRY_VERIFY_WITH_TIMEOUT(!windowShown(u"Vantrel Mini"_s), timeoutMs);
        QCOMPARE(session.vantrel({}).first, 0);
        QTRY_VERIFY_WITH_TIMEOUT(windowShown(u"Vantrel Mini"_s), timeoutMs);
        QVERIFY(!windowShown(u"Vantrel"_s));

        QCOMPARE(session.vantrel({u"--show-main"_s}).first, 0);
        QTRY_VERIFY_WITH_TIMEOUT(windowShown(u"Vantrel"_s), timeoutMs);
        QTRY_VERIFY_WITH_TIMEOUT(!windowShown(u"Vantrel Mini"_s), timeoutMs);
        QVERIFY(session.stop());
    }

    // Typing filters at once; Down moves into the results, Enter copies the row and closes.
    void theMiniWindowFiltersAndCopiesFromTheKeyboard()
    {
        VantrelSession session;
        QVERIFY(session.start());
        for (const char* text : {"apple pie", "apple tart", "banana bread"})
            QVERIFY(session.copyAndWaitSeen({u"text/plain="_s + QLatin1StringView(text)}));

        QCOMPARE(session.vantrel({u"--show-mini"_s}).first, 0);
        QTRY_COMPARE_WITH_TIMEOUT(activeWindowTitle(), u"Vantrel Mini"_s, timeoutMs);
        xdotool({u"type"_s, u"apple"_s});
        QVERIFY(session.waitForOutput("mini search \"apple\": 2 rows"));

        xdotool({u"key"_s, u"Down"_s});
        xdotool({u"key"_s, u"Return"_s});
        QTRY_VERIFY_WITH_TIMEOUT(!windowShown(u"Vantrel Mini"_s), timeoutMs);
        QCOMPARE(clipboardText(), QByteArray("apple tart"));
        QVERIFY(session.stop());
    }

    void theMainWindowsFrameSurvivesARestart()
    {
        VantrelSession session;
        QVERIFY(session.start({u"--show-main"_s}));
        QTRY_VERIFY_WITH_TIMEOUT(windowShown(u"Vantrel"_s), timeoutMs);
        const QString window = QString::fromLatin1(shownWindow(u"Vantrel"_s));
        xdotool({u"windowsize"_s, u"--sync"_s, window, u"830"_s, u"510"_s});
        xdotool({u"windowmove"_s, u"--sync"_s, window, u"140"_s, u"110"_s});
        QTRY_COMPARE_WITH_TIMEOUT(frameOf(u"Vantrel"_s).size(), QSize(830, 510), timeoutMs);
        const QRect moved = frameOf(u"Vantrel"_s);
        QVERIFY(session.stop());

        QVERIFY(session.start({u"--show-main"_s}));
        QTRY_VERIFY_WITH_TIMEOUT(windowShown(u"Vantrel"_s), timeoutMs);
        QTRY_COMPARE_WITH_TIMEOUT(frameOf(u"Vantrel"_s), moved, timeoutMs);
        QVERIFY(session.stop());
    }
};

QTEST_MAIN(TestWindowsE2E)
#include "tst_windows_e2e.moc"
