#include "CtlFormatter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QtTest>
#include <ctime>

namespace {
QJsonObject summary(const QString& uuid, const QJsonValue& date, const QJsonValue& app,
                    const QString& desc)
{
    QJsonObject object{{QStringLiteral("uuid"), uuid},
                       {QStringLiteral("date"), date},
                       {QStringLiteral("desc"), desc},
                       {QStringLiteral("marked"), false}};
    if (!app.isUndefined())
        object.insert(QStringLiteral("app"), app);
    return object;
}

QJsonValue json(const char* text)
{
    return QJsonDocument::fromJson(QByteArray("[") + text + "]").array().first();
}

// 2024-12-08 13:00:00.25 UTC, 15:00 in the tests' fixed zone.
constexpr double Noon = 1733662800.25;
} // namespace

using Payload = std::optional<QJsonValue>;
Q_DECLARE_METATYPE(Payload)

class TestCtlFormatter : public QObject
{
    Q_OBJECT

private slots:
    // A fixed zone two hours east of UTC, without daylight saving, needs no time-zone database.
    void initTestCase()
    {
        qputenv("TZ", "XYZ-2");
        tzset();
    }

    void summaryBecomesOneTabSeparatedLine_data()
    {
        QTest::addColumn<QJsonObject>("summary");
        QTest::addColumn<QString>("line");
        const QString app = QStringLiteral("org.gnome.TextEditor");
        QTest::newRow("plain")
            << summary(QStringLiteral("u1"), Noon, app, QStringLiteral("hello"))
            << QStringLiteral("u1\t2024-12-08T15:00:00+02:00\t%1\thello").arg(app);
        QTest::newRow("line breaks as spaces")
            << summary(QStringLiteral("u2"), Noon, app, QStringLiteral("a\nb\r\nc\rd\u2028e"))
            << QStringLiteral("u2\t2024-12-08T15:00:00+02:00\t%1\ta b c d e").arg(app);
        QTest::newRow("tabs inside fields as spaces")
            << summary(QStringLiteral("u\t3"), Noon, QStringLiteral("my\tapp"),
                       QStringLiteral("x\ty"))
            << QStringLiteral("u 3\t2024-12-08T15:00:00+02:00\tmy app\tx y");
        QTest::newRow("absent app is an empty field")
            << summary(QStringLiteral("u4"), Noon, QJsonValue::Undefined, QStringLiteral("d"))
            << QStringLiteral("u4\t2024-12-08T15:00:00+02:00\t\td");
        QTest::newRow("null app is an empty field")
            << summary(QStringLiteral("u5"), Noon, QJsonValue::Null, QStringLiteral("d"))
            << QStringLiteral("u5\t2024-12-08T15:00:00+02:00\t\td");
        QTest::newRow("date that is not a number is an empty field")
            << summary(QStringLiteral("u6"), QStringLiteral("yesterday"), app, QStringLiteral("d"))
            << QStringLiteral("u6\t\t%1\td").arg(app);
        QTest::newRow("absurd date is an empty field")
            << summary(QStringLiteral("u7"), 1e300, app, QStringLiteral("d"))
            << QStringLiteral("u7\t\t%1\td").arg(app);
        QTest::newRow("epoch") << summary(QStringLiteral("u8"), 0, app, QString())
                               << QStringLiteral("u8\t1970-01-01T02:00:00+02:00\t%1\t").arg(app);
    }
    void summaryBecomesOneTabSeparatedLine()
    {
        QFETCH(QJsonObject, summary);
        QFETCH(QString, line);
        QCOMPARE(CtlFormatter::summaryLine(summary), line);
        QCOMPARE(CtlFormatter::summaryLine(summary).split(u'\t').size(), 4);
    }

    void listGivesOneLinePerSummaryInOrder_data()
    {
        QTest::addColumn<QJsonValue>("payload");
        QTest::addColumn<QStringList>("uuids");
        const QJsonObject first = summary(QStringLiteral("first"), Noon, {}, QStringLiteral("1"));
        const QJsonObject second = summary(QStringLiteral("second"), Noon, {}, QStringLiteral("2"));
        QTest::newRow("list") << QJsonValue(QJsonArray{first, second})
                              << QStringList{QStringLiteral("first"), QStringLiteral("second")};
        QTest::newRow("empty list") << QJsonValue(QJsonArray()) << QStringList();
        QTest::newRow("one summary") << QJsonValue(first) << QStringList{QStringLiteral("first")};
        QTest::newRow("elements that are not summaries are skipped")
            << QJsonValue(QJsonArray{3, first, QStringLiteral("x"), QJsonArray{second}})
            << QStringList{QStringLiteral("first")};
        QTest::newRow("text") << QJsonValue(QString()) << QStringList();
    }
    void listGivesOneLinePerSummaryInOrder()
    {
        QFETCH(QJsonValue, payload);
        QFETCH(QStringList, uuids);
        const QString text = CtlFormatter::summaryLines(payload);
        QCOMPARE(text.isEmpty(), uuids.isEmpty());
        QStringList lines = text.split(u'\n');
        QCOMPARE(lines.takeLast(), QString());
        QStringList printed;
        for (const QString& line : std::as_const(lines))
            printed << line.section(u'\t', 0, 0);
        QCOMPARE(printed, uuids);
    }

    void jsonOutputIsThePayloadOnOneLine_data()
    {
        QTest::addColumn<Payload>("payload");
        QTest::addColumn<QString>("output");
        QTest::newRow("empty text") << Payload(QJsonValue(QString())) << QStringLiteral("\"\"\n");
        QTest::newRow("list") << Payload(json(R"([{"uuid":"u1","desc":"a\nb"}])"))
                              << QStringLiteral("[{\"desc\":\"a\\nb\",\"uuid\":\"u1\"}]\n");
        QTest::newRow("unreadable") << Payload() << QStringLiteral("null\n");
    }
    void jsonOutputIsThePayloadOnOneLine()
    {
        QFETCH(Payload, payload);
        QTEST(CtlFormatter::jsonLine(payload), "output");
    }

    void watchShowsIdentifierAndSummaries_data()
    {
        QTest::addColumn<QString>("identifier");
        QTest::addColumn<Payload>("payload");
        QTest::addColumn<bool>("json");
        QTest::addColumn<QString>("output");
        const QJsonObject item = summary(QStringLiteral("u1"), Noon, QStringLiteral("app"),
                                         QStringLiteral("line1\nline2"));
        const QString fields = QStringLiteral("u1\t2024-12-08T15:00:00+02:00\tapp\tline1 line2");
        QTest::newRow("insert") << QStringLiteral("insert") << Payload(item) << false
                                << QStringLiteral("insert\t%1\n").arg(fields);
        QTest::newRow("delete of two")
            << QStringLiteral("delete") << Payload(QJsonArray{item, item}) << false
            << QStringLiteral("delete\t%1\ndelete\t%1\n").arg(fields);
        QTest::newRow("mark of none")
            << QStringLiteral("mark") << Payload(QJsonArray()) << false << QStringLiteral("mark\n");
        QTest::newRow("unreadable insert")
            << QStringLiteral("insert") << Payload() << false << QStringLiteral("insert\n");
        QTest::newRow("other message")
            << QStringLiteral("app.launched") << Payload(QJsonValue(QString())) << false
            << QStringLiteral("app.launched\n");
        QTest::newRow("other message as JSON")
            << QStringLiteral("app.launched") << Payload(QJsonValue(QString())) << true
            << QStringLiteral("{\"identifier\":\"app.launched\",\"message\":\"\"}\n");
        QTest::newRow("unreadable as JSON")
            << QStringLiteral("copy") << Payload() << true
            << QStringLiteral("{\"identifier\":\"copy\",\"message\":null}\n");
    }
    void watchShowsIdentifierAndSummaries()
    {
        QFETCH(QString, identifier);
        QFETCH(Payload, payload);
        QFETCH(bool, json);
        QTEST(CtlFormatter::watchLines(identifier, payload, json), "output");
    }
};

QTEST_GUILESS_MAIN(TestCtlFormatter)
#include "tst_ctlformatter.moc"
