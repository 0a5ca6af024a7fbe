#include "ClipOwner.h"
#include "VantrelSession.h"
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
};

QTEST_MAIN(TestRetentionE2E)
#include "tst_retention_e2e.moc"
