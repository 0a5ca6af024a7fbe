#include "VantrelSession.h"
#include "X11Windows.h"
#include "support/SqliteDatabase.h"
#include "support/SqliteStatement.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {
constexpr int recordTimeoutMs = 10'000;

QJsonArray jsonList(const QByteArray& output)
{
    return QJsonDocument::fromJson(output).array();
}

// The uuids of the rows whose keyword holds the text as the history's search reads it: % any
// text, _ any one character, letters A to Z in either case; newest first.
QStringList rowsHolding(const QList<QVariantMap>& rows, const QString& text)
{
    QString pattern;
    for (const QChar c : text)
        pattern += c == u'%' ? u".*"_s : c == u'_' ? u"."_s : QRegularExpression::escape(c);
    const QRegularExpression holds(pattern, QRegularExpression::CaseInsensitiveOption |
                                                QRegularExpression::DotMatchesEverythingOption);
    QStringList uuids;
    for (const QVariantMap& row : rows) {
        if (holds.match(row[u"keyword"_s].toString()).hasMatch())
            uuids << row[u"uuid"_s].toString();
    }
    return uuids;
}

QStringList uuidsIn(const QJsonArray& summaries)
{
    QStringList uuids;
    for (const QJsonValue& summary : summaries)
        uuids << summary.toObject()[u"uuid"_s].toString();
    return uuids;
}

QByteArray xdotool(const QStringList& arguments)
{
    QProcess process;
    process.start(u"xdotool"_s, arguments);
    process.waitForFinished();
    return process.readAllStandardOutput();
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

    // For each text, search finds what the mini window's search finds (as many rows, the ones
    // holding the text, newest first); --kind narrows, --limit cuts, list is search without a
    // text; plain output is one tab-separated line per item.
    void searchAnswersAsTheWindowsSearch()
    {
        VantrelSession session;
        QVERIFY(session.start());
        const QStringList texts{u"red sky at night"_s, u"Blue SKY"_s, u"https://red.example/"_s,
                                u"50% off_sale"_s,     u"redder"_s,   u"tab\there"_s};
        for (const QString& text : texts)
            QVERIFY(session.copyAndWaitSeen({u"text/plain="_s + text}));
        QTRY_COMPARE_WITH_TIMEOUT(session.rows().size(), texts.size(), recordTimeoutMs);
        const QList<QVariantMap> rows = session.rows();

        QCOMPARE(session.vantrel({u"--show-mini"_s}).first, 0);
        QTRY_COMPARE_WITH_TIMEOUT(activeWindowTitle(), u"Vantrel Mini"_s, recordTimeoutMs);
        for (const QString& keyword :
             {u"red"_s, u"SKY"_s, u"r_d"_s, u"50%"_s, u"%off\\_"_s, u"e"_s, u"nowhere"_s}) {
            const QStringList expected = rowsHolding(rows, keyword);
            const auto [code, output] =
                session.vantrelctl({u"search"_s, u"--json"_s, u"--limit"_s, u"100"_s, keyword});
            QCOMPARE(code, 0);
            QVERIFY2(uuidsIn(jsonList(output)) == expected, qPrintable(keyword));

            xdotool({u"key"_s, u"ctrl+a"_s});
            xdotool({u"type"_s, keyword});
            QVERIFY2(session.waitForOutput(QStringLiteral("mini search \"%1\": %2 rows")
                                               .arg(keyword)
                                               .arg(expected.size())
                                               .toUtf8()),
                     qPrintable(keyword));
        }

        const auto [limited, cut] =
            session.vantrelctl({u"search"_s, u"red"_s, u"--limit"_s, u"2"_s});
        QCOMPARE(limited, 0);
        const QList<QByteArray> lines = cut.trimmed().split('\n');
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines.first().split('\t').size(), 4);
        QCOMPARE(lines.first().split('\t').first(), rowsHolding(rows, u"red"_s).first().toUtf8());

        const auto [listed, all] = session.vantrelctl({u"list"_s, u"--json"_s});
        QCOMPARE(listed, 0);
        QCOMPARE(uuidsIn(jsonList(all)), rowsHolding(rows, QString()));
        const QStringList keys = jsonList(all).first().toObject().keys();
        QCOMPARE(QSet<QString>(keys.cbegin(), keys.cend()),
                 QSet<QString>({u"uuid"_s, u"date"_s, u"app"_s, u"desc"_s, u"marked"_s}));
        const auto [urls, urlList] =
            session.vantrelctl({u"list"_s, u"--kind"_s, u"url"_s, u"--json"_s});
        QCOMPARE(urls, 0);
        QCOMPARE(jsonList(urlList).size(), 1);
        QCOMPARE(jsonList(urlList).first().toObject()[u"desc"_s].toString(),
                 u"https://red.example/"_s);
        QCOMPARE(session.vantrelctl({u"search"_s, u"red"_s, u"--kind"_s, u"sound"_s}).first, 2);
        QCOMPARE(session.vantrelctl({u"search"_s}).first, 2);
        QVERIFY(session.stop());
        QCOMPARE(session.vantrelctl({u"list"_s, u"--timeout"_s, u"500"_s}).first, 1);
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
