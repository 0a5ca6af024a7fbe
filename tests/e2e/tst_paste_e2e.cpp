#include "TextField.h"
#include "VantrelSession.h"
#include "X11Windows.h"

#include <QtTest>

using namespace Qt::StringLiterals;

namespace {
constexpr int timeoutMs = 10'000;

QByteArray xclip(const QString& target)
{
    QProcess process;
    process.start(u"xclip"_s, {u"-o"_s, u"-selection"_s, u"clipboard"_s, u"-t"_s, target});
    process.waitForFinished();
    return process.readAllStandardOutput();
}

void xdotool(const QStringList& arguments)
{
    QProcess process;
    process.start(u"xdotool"_s, arguments);
    process.waitForFinished();
}
} // namespace

// The paste after choosing, end to end: the real vantrel, the X11 clipboard, openbox, and another
// application's window (textfield) that was active when the mini window was called.
class TestPasteE2E : public QObject
{
    Q_OBJECT

private slots:
    void choosingInTheMiniWindowPastesWhereItWasCalledFrom_data()
    {
        QTest::addColumn<QByteArray>("config");
        QTest::addColumn<QStringList>("fieldOptions");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("typedKeys");
        QTest::addColumn<bool>("htmlOnClipboard");

        QTest::newRow("Enter pastes the first result")
            << QByteArray() << QStringList() << u"Return"_s << u"bold move"_s << u"ctrl+v"_s
            << true;
        QTest::newRow("Shift+Enter pastes the plain text")
            << QByteArray() << QStringList() << u"shift+Return"_s << u"bold move"_s << u"ctrl+v"_s
            << false;
        QTest::newRow("a terminal gets Ctrl+Shift+V")
            << R"({"terminalApplications":["textterm"]})"_ba
            << QStringList{u"--class"_s, u"TextTerm"_s} << u"Return"_s << u"bold move"_s
            << u"ctrl+shift+v"_s << true;
        QTest::newRow("preference off: only copied")
            << R"({"pasteFromMiniWindow":false})"_ba << QStringList() << u"Return"_s << QString()
            << QString() << true;
    }

    void choosingInTheMiniWindowPastesWhereItWasCalledFrom()
    {
        QFETCH(QByteArray, config);
        QFETCH(QStringList, fieldOptions);
        QFETCH(QString, keys);
        QFETCH(QString, pasted);
        QFETCH(QString, typedKeys);
        QFETCH(bool, htmlOnClipboard);

        VantrelSession session;
        if (!config.isEmpty())
            session.writeConfig(config);
        QVERIFY(session.start());
        QVERIFY(
            session.copyAndWaitSeen({u"text/html=<b>bold</b> move"_s, u"text/plain=bold move"_s}));
        QVERIFY(session.copyAndWaitSeen({u"text/plain=another one"_s}));
        QTRY_COMPARE_WITH_TIMEOUT(session.rows().size(), 2, timeoutMs);

        TextField field(QStringLiteral(TEXTFIELD_BINARY), fieldOptions);
        QTRY_VERIFY_WITH_TIMEOUT(field.isReady(), timeoutMs);
        QTRY_COMPARE_WITH_TIMEOUT(activeWindowTitle(), u"textfield"_s, timeoutMs);
        QCOMPARE(session.vantrel({u"--show-mini"_s}).first, 0);
        QTRY_COMPARE_WITH_TIMEOUT(activeWindowTitle(), u"Vantrel Mini"_s, timeoutMs);
        xdotool({u"type"_s, u"move"_s});
        QVERIFY(session.waitForOutput("mini search \"move\": 1 rows"));
        xdotool({u"key"_s, keys});

        QTRY_VERIFY_WITH_TIMEOUT(!windowShown(u"Vantrel Mini"_s), timeoutMs);
        QTRY_COMPARE_WITH_TIMEOUT(activeWindowTitle(), u"textfield"_s, timeoutMs);
        QTRY_COMPARE_WITH_TIMEOUT(xclip(u"text/plain"_s), "bold move"_ba, timeoutMs);
        QCOMPARE(xclip(u"TARGETS"_s).contains("text/html"), htmlOnClipboard);
        if (pasted.isEmpty())
            QTest::qWait(PasteWaitMs);
        QTRY_COMPARE_WITH_TIMEOUT(field.text(), pasted, timeoutMs);
        QCOMPARE(field.keys().join(u' '), typedKeys);
        // The paste is the program's own copy: nothing new is recorded.
        QCOMPARE(session.rows().size(), 2);
        QVERIFY(session.stop());
    }

    // The window the mini window was called from has gone: the item is copied, nothing typed.
    void nothingIsPastedWhenTheWindowHasGone()
    {
        VantrelSession session;
        QVERIFY(session.start());
        QVERIFY(session.copyAndWaitSeen({u"text/plain=orphan"_s}));
        TextField field(QStringLiteral(TEXTFIELD_BINARY));
        QTRY_VERIFY_WITH_TIMEOUT(field.isReady(), timeoutMs);
        QTRY_COMPARE_WITH_TIMEOUT(activeWindowTitle(), u"textfield"_s, timeoutMs);
        QCOMPARE(session.vantrel({u"--show-mini"_s}).first, 0);
        QTRY_COMPARE_WITH_TIMEOUT(activeWindowTitle(), u"Vantrel Mini"_s, timeoutMs);
        field.kill();
        xdotool({u"type"_s, u"orphan"_s});
        QVERIFY(session.waitForOutput("mini search \"orphan\": 1 rows"));
        xdotool({u"key"_s, u"Return"_s});
        QVERIFY(
            session.waitForOutput("nothing pasted: the window Vantrel was called from has gone"));
        QTRY_COMPARE_WITH_TIMEOUT(xclip(u"text/plain"_s), "orphan"_ba, timeoutMs);
        QVERIFY(!windowShown(u"Vantrel Mini"_s));
        QVERIFY(session.stop());
    }

private:
    // Longer than a paste takes, for the cases where nothing may be typed.
    static constexpr int PasteWaitMs = 1500;
};

QTEST_MAIN(TestPasteE2E)
#include "tst_paste_e2e.moc"
