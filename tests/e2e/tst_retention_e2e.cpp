#include "ClipOwner.h"
#include "VantrelSession.h"
#include "X11Windows.h"
#include "support/SqliteDatabase.h"
#include "support/SqliteStatement.h"

#include <QDateTime>
#include <QtTest>

namespace {
constexpr int timeoutMs = 15'000;

void insertOldRow(const QString& dbPath, const QString& uuid, bool marked, double daysAgo = 2)
{
    SqliteDatabase db;
    QVERIFY(db.open(dbPath));
    SqliteStatement insert(db, QStringLiteral("INSERT INTO pb_items (uuid, date, title, type, "
                                              "pb_type, data, app, marked, keyword) VALUES(?, ?, "
                                              "'', 0, 'public.utf8-plain-text', '', 'app', ?, ?)"));
    const double then = QDateTime::currentSecsSinceEpoch() - daysAgo * 86'400.0;
    insert.bind(1, uuid).bind(2, then).bind(3, qint64(marked)).bind(4, uuid);
    QVERIFY2(insert.exec(), qPrintable(insert.errorText()));
}
// The clipboard's text as another application reads it.
QByteArray clipboardText()
{
    QProcess xclip;
    xclip.start(QStringLiteral("xclip"),
                {QStringLiteral("-o"), QStringLiteral("-selection"), QStringLiteral("clipboard")});
    xclip.waitForFinished(timeoutMs);
    return xclip.readAllStandardOutput();
}

// Clicks a row of the main window's Recents page, where the window's layout puts it.
bool clickRow(int row)
{
    constexpr int listMiddle = 370;
    constexpr int firstRowMiddle = 120;
    constexpr int rowHeight = 81;
    return clickInWindow(QStringLiteral("Vantrel"), listMiddle, firstRowMiddle + row * rowHeight);
}
} // namespace

class TestRetentionE2E : public QObject
{
    Q_OBJECT

private slots:
    void losingFocusPrunesByTheRecordKeepingSetting()
    {
        VantrelSession session;
        session.writeConfig(R"({"saveMode":0,"saveTime":0})");
        QVERIFY(session.start());
        QVERIFY(session.copy({QStringLiteral("text/plain=fresh")}));
        QTRY_COMPARE_WITH_TIMEOUT(session.rows().size(), 1, timeoutMs);
        QVERIFY(session.stop());
        insertOldRow(session.dbPath(), QStringLiteral("old unmarked"), false);
        insertOldRow(session.dbPath(), QStringLiteral("old marked"), true);

        QVERIFY(session.start());
        QCOMPARE(session.vantrel({QStringLiteral("--show-main")}).first, 0);
        QVERIFY(!session.output().contains(QStringLiteral("delete data count")));

        // Another application's window takes the focus: Vantrel is no longer active.
        ClipOwner other({{QStringLiteral("text/plain"), QByteArray("other application")}},
                        {QStringLiteral("--map")});
        QTRY_VERIFY_WITH_TIMEOUT(other.isReady(), timeoutMs);
        QProcess::execute(QStringLiteral("xdotool"),
                          {QStringLiteral("windowactivate"), QStringLiteral("--sync"),
                           QString::number(other.window())});
        QVERIFY(session.waitForOutput("delete data count: 1"));

        // The other application's own copy may be recorded too once Vantrel is inactive.
        QStringList kept;
        for (const QVariantMap& row : session.rows())
            kept << row[QStringLiteral("keyword")].toString();
        kept.removeAll(QStringLiteral("other application"));
        QCOMPARE(kept, QStringList({QStringLiteral("fresh"), QStringLiteral("old marked")}));
    }

    // The selected row goes (pruned when Vantrel loses the focus, deleted with the Delete key):
    // the clipboard keeps what the user chose last, and no other row is chosen in its place.
    void aSelectedRowThatGoesLeavesTheClipboardAsTheUserLeftIt()
    {
        VantrelSession session;
        session.writeConfig(R"({"saveMode":0,"saveTime":0})");
        QVERIFY(session.start());
        QVERIFY(session.stop());
        insertOldRow(session.dbPath(), QStringLiteral("old marked"), true, 3);
        insertOldRow(session.dbPath(), QStringLiteral("old unmarked"), false, 2);
        insertOldRow(session.dbPath(), QStringLiteral("recent"), false, 0.5);
        QVERIFY(session.start());
        ClipOwner other({{QStringLiteral("text/plain"), QByteArray("other application")}},
                        {QStringLiteral("--map"), QStringLiteral("--keep")});
        QTRY_VERIFY_WITH_TIMEOUT(other.isReady(), timeoutMs);
        QTRY_COMPARE_WITH_TIMEOUT(session.rows().size(), 4, timeoutMs);
        QCOMPARE(session.vantrel({QStringLiteral("--show-main")}).first, 0);
        QTRY_COMPARE_WITH_TIMEOUT(activeWindowTitle(), QStringLiteral("Vantrel"), timeoutMs);

        QVERIFY(session.waitForOutput("loading time"));
        // Rows, newest first: other application, recent, old unmarked, old marked.
        QVERIFY(clickRow(2));
        QTRY_COMPARE_WITH_TIMEOUT(clipboardText(), QByteArray("old unmarked"), timeoutMs);
        QProcess::execute(QStringLiteral("xdotool"),
                          {QStringLiteral("windowactivate"), QStringLiteral("--sync"),
                           QString::number(other.window())});
        QVERIFY(session.waitForOutput("delete data count: 1"));
        // Answered on the thread that removed the row, so anything it did is done by now.
        QCOMPARE(session.vantrelctl({QStringLiteral("status")}).first, 0);
        QCOMPARE(clipboardText(), QByteArray("old unmarked"));

        QCOMPARE(session.vantrel({QStringLiteral("--show-main")}).first, 0);
        QTRY_COMPARE_WITH_TIMEOUT(activeWindowTitle(), QStringLiteral("Vantrel"), timeoutMs);
        QVERIFY(clickRow(1));
        QTRY_COMPARE_WITH_TIMEOUT(clipboardText(), QByteArray("recent"), timeoutMs);
        const int rows = session.rows().size();
        QProcess::execute(QStringLiteral("xdotool"),
                          {QStringLiteral("key"), QStringLiteral("Delete")});
        QTRY_COMPARE_WITH_TIMEOUT(session.rows().size(), rows - 1, timeoutMs);
        // Nothing is selected now: a second Delete deletes nothing.
        QProcess::execute(QStringLiteral("xdotool"),
                          {QStringLiteral("key"), QStringLiteral("Delete")});
        QCOMPARE(session.vantrelctl({QStringLiteral("status")}).first, 0);
        QCOMPARE(session.rows().size(), rows - 1);
        QCOMPARE(clipboardText(), QByteArray("recent"));
        QVERIFY(session.stop());
    }
};

QTEST_MAIN(TestRetentionE2E)
#include "tst_retention_e2e.moc"
