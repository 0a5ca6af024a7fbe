#include "ClipOwner.h"
#include "VantrelSession.h"
#include "X11Windows.h"
#include "support/SqliteDatabase.h"
#include "support/SqliteStatement.h"

#include <QDateTime>
#include <QtTest>

namespace {
constexpr int timeoutMs = 15'000;

void insertOldRow(const QString& dbPath, const QString& uuid, bool marked)
{
    SqliteDatabase db;
    QVERIFY(db.open(dbPath));
    SqliteStatement insert(db, QStringLiteral("INSERT INTO pb_items (uuid, date, title, type, "
                                              "pb_type, data, app, marked, keyword) VALUES(?, ?, "
                                              "'', 0, 'public.utf8-plain-text', '', 'app', ?, ?)"));
    const double twoDaysAgo = QDateTime::currentSecsSinceEpoch() - 2 * 86'400.0;
    insert.bind(1, uuid).bind(2, twoDaysAgo).bind(3, qint64(marked)).bind(4, uuid);
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

// Moves a row's capture time into the past, and marks it or not.
void ageRow(const QString& dbPath, const QString& keyword, double days, bool marked)
{
    SqliteDatabase db;
    QVERIFY(db.open(dbPath));
    SqliteStatement update(
        db, QStringLiteral("UPDATE pb_items SET date = date - ?, marked = ? WHERE keyword = ?"));
    update.bind(1, days * 86'400.0).bind(2, qint64(marked)).bind(3, keyword);
    QVERIFY2(update.exec(), qPrintable(update.errorText()));
}

// Clicks a row of the main window's Recents page, where the window's layout puts it, until the
// clipboard holds its text (the rows are laid out a moment after the history is loaded).
bool chooseRow(int row, const QByteArray& text)
{
    constexpr int listMiddle = 370;
    constexpr int firstRowMiddle = 120;
    constexpr int rowHeight = 81;
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (!clickInWindow(QStringLiteral("Vantrel"), listMiddle, firstRowMiddle + row * rowHeight))
            return false;
        if (QTest::qWaitFor([&text] { return clipboardText() == text; }, 3'000))
            return true;
    }
    return false;
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
        // The window is made when first asked for: Vantrel is active once it is up.
        QTRY_COMPARE_WITH_TIMEOUT(activeWindowTitle(), QStringLiteral("Vantrel"), timeoutMs);
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
        for (const char* text : {"old marked", "old unmarked", "recent"})
            QVERIFY(
                session.copyAndWaitSeen({QStringLiteral("text/plain=") + QLatin1StringView(text)}));
        QTRY_COMPARE_WITH_TIMEOUT(session.rows().size(), 3, timeoutMs);
        QVERIFY(session.stop());
        ageRow(session.dbPath(), QStringLiteral("old marked"), 3, true);
        ageRow(session.dbPath(), QStringLiteral("old unmarked"), 2, false);
        QVERIFY(session.start());
        ClipOwner other({{QStringLiteral("text/plain"), QByteArray("other application")}},
                        {QStringLiteral("--map"), QStringLiteral("--keep")});
        QTRY_VERIFY_WITH_TIMEOUT(other.isReady(), timeoutMs);
        QTRY_COMPARE_WITH_TIMEOUT(session.rows().size(), 4, timeoutMs);
        QCOMPARE(session.vantrel({QStringLiteral("--show-main")}).first, 0);
        QTRY_COMPARE_WITH_TIMEOUT(activeWindowTitle(), QStringLiteral("Vantrel"), timeoutMs);

        QVERIFY(session.waitForOutput("loading time"));
        // Rows, newest first: other application, recent, old unmarked, old marked.
        QVERIFY(chooseRow(2, "old unmarked"));
        QProcess::execute(QStringLiteral("xdotool"),
                          {QStringLiteral("windowactivate"), QStringLiteral("--sync"),
                           QString::number(other.window())});
        QVERIFY(session.waitForOutput("delete data count: 1"));
        // Answered on the thread that removed the row, so anything it did is done by now.
        QCOMPARE(session.vantrelctl({QStringLiteral("status")}).first, 0);
        QCOMPARE(clipboardText(), QByteArray("old unmarked"));

        QCOMPARE(session.vantrel({QStringLiteral("--show-main")}).first, 0);
        QTRY_COMPARE_WITH_TIMEOUT(activeWindowTitle(), QStringLiteral("Vantrel"), timeoutMs);
        QVERIFY(chooseRow(1, "recent"));
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
