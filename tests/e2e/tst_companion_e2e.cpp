#include "VantrelSession.h"
#include "support/SqliteDatabase.h"
#include "support/SqliteStatement.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {
constexpr int recordTimeoutMs = 10'000;

QJsonArray jsonList(const QByteArray& output)
{
    return QJsonDocument::fromJson(output).array();
}

QByteArray clipboard(const QString& mime)
{
    QProcess xclip;
    xclip.start(QStringLiteral("xclip"), {QStringLiteral("-o"), QStringLiteral("-selection"),
                                          QStringLiteral("clipboard"), QStringLiteral("-t"), mime});
    xclip.waitForFinished();
    return xclip.readAllStandardOutput();
}
} // namespace

class TestCompanionE2E : public QObject
{
    Q_OBJECT

private slots:
    void statusAnswersOnlyWhileVantrelRuns()
    {
        VantrelSession session;
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(session
                     .vantrelctl({QStringLiteral("status"), QStringLiteral("--timeout"),
                                  QStringLiteral("1000")})
                     .first,
                 1);
        QVERIFY(timer.elapsed() < 10'000);

        QVERIFY(session.start());
        QCOMPARE(session.vantrelctl({QStringLiteral("status")}).first, 0);
    }

    void recentListsTheTwentyNewestAndCopyPutsOneBack()
    {
        VantrelSession session;
        QVERIFY(session.start());
        for (int i = 0; i < 25; ++i) {
            QVERIFY(session.copy({QStringLiteral("text/html=<b>item %1</b>").arg(i),
                                  QStringLiteral("text/plain=item %1").arg(i)}));
            QTRY_COMPARE_WITH_TIMEOUT(session.rows().size(), i + 1, recordTimeoutMs);
        }

        const auto [code, output] =
            session.vantrelctl({QStringLiteral("recent"), QStringLiteral("--json")});
        QCOMPARE(code, 0);
        const QJsonArray recent = jsonList(output);
        QCOMPARE(recent.size(), 20);
        QCOMPARE(recent.first().toObject()[QStringLiteral("desc")].toString(),
                 QStringLiteral("item 24"));
        QCOMPARE(recent.last().toObject()[QStringLiteral("desc")].toString(),
                 QStringLiteral("item 5"));

        const QString uuid = recent[3].toObject()[QStringLiteral("uuid")].toString();
        const int seen = session.changesSeen();
        QCOMPARE(session.vantrelctl({QStringLiteral("copy"), uuid}).first, 0);
        QTRY_VERIFY_WITH_TIMEOUT(session.changesSeen() > seen, recordTimeoutMs);
        QCOMPARE(clipboard(QStringLiteral("text/html")), QByteArray("<b>item 21</b>"));
        QCOMPARE(clipboard(QStringLiteral("text/plain")), QByteArray("item 21"));
        QCOMPARE(session.rows().size(), 25);
    }

    // The companion's copies are the program's own whichever window has the focus: two in a row
    // record nothing, and the user's next copy is recorded.
    void copiesWhileAnotherWindowIsActiveRecordNothing()
    {
        VantrelSession session;
        QVERIFY(session.start());
        QVERIFY(session.copy({QStringLiteral("text/plain=one")},
                             {QStringLiteral("--map"), QStringLiteral("--keep")}));
        QTRY_COMPARE_WITH_TIMEOUT(session.rows().size(), 1, recordTimeoutMs);
        QVERIFY(session.copy({QStringLiteral("text/plain=two")}));
        QTRY_COMPARE_WITH_TIMEOUT(session.rows().size(), 2, recordTimeoutMs);

        const int seen = session.changesSeen();
        for (const QVariantMap& row : session.rows())
            QCOMPARE(session.vantrelctl({QStringLiteral("copy"), row[u"uuid"_s].toString()}).first,
                     0);
        QTRY_VERIFY_WITH_TIMEOUT(session.changesSeen() >= seen + 2, recordTimeoutMs);
        QCOMPARE(clipboard(QStringLiteral("text/plain")), QByteArray("one"));

        QVERIFY(session.copy({QStringLiteral("text/plain=three")}));
        QTRY_COMPARE_WITH_TIMEOUT(session.keywords(), QStringList({u"three"_s, u"two"_s, u"one"_s}),
                                  recordTimeoutMs);
    }

    void markedListsTheMarkedItems()
    {
        VantrelSession session;
        QVERIFY(session.start());
        QVERIFY(session.copy({QStringLiteral("text/plain=keep me")}));
        QTRY_COMPARE_WITH_TIMEOUT(session.rows().size(), 1, recordTimeoutMs);
        QVERIFY(session.stop());
        {
            SqliteDatabase db;
            QVERIFY(db.open(session.dbPath()));
            QVERIFY(db.execute(QStringLiteral("UPDATE pb_items SET marked=1")));
        }
        QVERIFY(session.start());
        const auto [code, output] = session.vantrelctl({QStringLiteral("marked")});
        QCOMPARE(code, 0);
        const QList<QByteArray> fields = output.trimmed().split('\t');
        QCOMPARE(fields.size(), 4);
        QCOMPARE(fields.last(), QByteArray("keep me"));
    }

    void watchPrintsEachInsert()
    {
        VantrelSession session;
        QVERIFY(session.start());
        const auto watch = session.startVantrelctl({QStringLiteral("watch")});
        // The watcher is listening once it prints the application's answer to a status request.
        QByteArray printed;
        QTRY_VERIFY_WITH_TIMEOUT(
            session.vantrelctl({QStringLiteral("status")}).first == 0 &&
                (printed += watch->readAllStandardOutput()).contains("app.launched"),
            recordTimeoutMs);
        QVERIFY(session.copy({QStringLiteral("text/plain=watched")}));
        QTRY_VERIFY_WITH_TIMEOUT((printed += watch->readAllStandardOutput()).contains("watched"),
                                 recordTimeoutMs);
        QVERIFY(printed.startsWith("insert\t") || printed.contains("\ninsert\t"));
        watch->kill();
        watch->waitForFinished();
    }

    // A copy far larger than any keyword: recorded whole, yet the history, its row and the
    // companion's summaries stay small, so `recent` keeps answering.
    void hugeCopyIsRecordedAndRecentStillAnswers()
    {
        constexpr qsizetype keywordBytes = 1 << 20;
        QByteArray text;
        while (text.size() < 3 * keywordBytes)
            text += "\xe2\x82\xac 3 euro, line " + QByteArray::number(text.size()) + '\n';

        VantrelSession session;
        QVERIFY(session.start());
        QVERIFY(session.copy({QStringLiteral("text/plain=") + QString::fromUtf8(text)}));
        QTRY_COMPARE_WITH_TIMEOUT(session.rows().size(), 1, recordTimeoutMs);

        const QVariantMap row = session.rows().first();
        const QByteArray keyword = row[QStringLiteral("keyword")].toString().toUtf8();
        QVERIFY(keyword.size() <= keywordBytes && keyword.size() > keywordBytes - 4);
        QVERIFY(text.startsWith(keyword));
        QFile payload(row[QStringLiteral("data")].toString().split(u'|').first());
        QVERIFY(payload.open(QIODevice::ReadOnly));
        QCOMPARE(payload.readAll(), text);

        const auto [code, output] =
            session.vantrelctl({QStringLiteral("recent"), QStringLiteral("--json")});
        QCOMPARE(code, 0);
        const QString desc = jsonList(output).first().toObject()[QStringLiteral("desc")].toString();
        QCOMPARE(desc.size(), 1000);
        QVERIFY(QString::fromUtf8(text).startsWith(desc));
    }
};

QTEST_MAIN(TestCompanionE2E)
#include "tst_companion_e2e.moc"
