#include "CtlOptions.h"

#include <QtTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(CtlOptions::Command)

class TestCtlOptions : public QObject
{
    Q_OBJECT

private slots:
    void validCommandLineIsRead_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<CtlOptions::Command>("command");
        QTest::addColumn<QString>("uuid");
        QTest::addColumn<bool>("json");
        QTest::addColumn<int>("timeoutMs");
        QTest::addColumn<bool>("timeoutGiven");

        using C = CtlOptions::Command;
        const int standard = CtlOptions::DefaultTimeoutMs;
        QTest::newRow("status") << args({"status"}) << C::Status << QString() << false << standard
                                << false;
        QTest::newRow("recent --json")
            << args({"recent", "--json"}) << C::Recent << QString() << true << standard << false;
        QTest::newRow("option before command")
            << args({"--json", "marked"}) << C::Marked << QString() << true << standard << false;
        QTest::newRow("copy with uuid")
            << args({"copy", "6F1C2B4A-0000-4000-8000-000000000001"}) << C::Copy
            << QStringLiteral("6F1C2B4A-0000-4000-8000-000000000001") << false << standard << false;
        QTest::newRow("timeout as separate argument")
            << args({"--timeout", "350", "status"}) << C::Status << QString() << false << 350
            << true;
        QTest::newRow("timeout with equals sign")
            << args({"watch", "--timeout=1500"}) << C::Watch << QString() << false << 1500 << true;
        QTest::newRow("help") << args({"--help"}) << C::Help << QString() << false << standard
                              << false;
        QTest::newRow("help wins over a bad command")
            << args({"-h", "nonsense"}) << C::Help << QString() << false << standard << false;
    }
    void validCommandLineIsRead()
    {
        QFETCH(QStringList, arguments);
        QString error;
        const std::optional<CtlOptions> options = CtlOptions::parse(arguments, &error);
        QVERIFY2(options, qPrintable(error));
        QTEST(options->command, "command");
        QTEST(options->uuid, "uuid");
        QTEST(options->json, "json");
        QTEST(options->answerTimeoutMs(), "timeoutMs");
        QTEST(options->timeoutMs.has_value(), "timeoutGiven");
    }

    void searchAndListAreNarrowedAsAsked_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<CtlOptions::Command>("command");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("limit");
        QTest::addColumn<QString>("kind");

        using C = CtlOptions::Command;
        const int standard = CtlOptions::DefaultLimit;
        QTest::newRow("search") << args({"search", "invoice"}) << C::Search << u"invoice"_s
                                << standard << QString();
        QTest::newRow("search keeps spaces and wildcards")
            << args({"search", " 50% off_"}) << C::Search << u" 50% off_"_s << standard
            << QString();
        QTest::newRow("search for a dash after --")
            << args({"search", "--", "-rf"}) << C::Search << u"-rf"_s << standard << QString();
        QTest::newRow("list") << args({"list"}) << C::List << QString() << standard << QString();
        QTest::newRow("list narrowed") << args({"--kind", "url", "list", "--limit=3"}) << C::List
                                       << QString() << 3 << u"url"_s;
        QTest::newRow("search of marked items as JSON")
            << args({"search", "x", "--kind=marked", "--json", "--limit", "100000000"}) << C::Search
            << u"x"_s << 100'000'000 << u"marked"_s;
    }
    void searchAndListAreNarrowedAsAsked()
    {
        QFETCH(QStringList, arguments);
        QString error;
        const std::optional<CtlOptions> options = CtlOptions::parse(arguments, &error);
        QVERIFY2(options, qPrintable(error));
        QTEST(options->command, "command");
        QTEST(options->text, "text");
        QTEST(options->limit, "limit");
        QTEST(options->kind, "kind");
    }

    void badUsageIsRefusedWithAReason_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("no command") << args({});
        QTest::newRow("only options") << args({"--json"});
        QTest::newRow("unknown command") << args({"lists"});
        QTest::newRow("command in capitals") << args({"STATUS"});
        QTest::newRow("unknown option") << args({"status", "--verbose"});
        QTest::newRow("copy without uuid") << args({"copy"});
        QTest::newRow("copy with blank uuid") << args({"copy", "  "});
        QTest::newRow("copy with two uuids") << args({"copy", "a", "b"});
        QTest::newRow("status with an argument") << args({"status", "now"});
        QTest::newRow("two commands") << args({"recent", "marked"});
        QTest::newRow("timeout without value") << args({"status", "--timeout"});
        QTest::newRow("timeout not a number") << args({"--timeout", "soon", "status"});
        QTest::newRow("timeout zero") << args({"--timeout", "0", "status"});
        QTest::newRow("timeout negative") << args({"--timeout=-5", "status"});
        QTest::newRow("timeout beyond an hour") << args({"--timeout", "3600001", "status"});
        QTest::newRow("search without text") << args({"search"});
        QTest::newRow("search with empty text") << args({"search", ""});
        QTest::newRow("search with two texts") << args({"search", "a", "b"});
        QTest::newRow("list with a text") << args({"list", "a"});
        QTest::newRow("limit zero") << args({"list", "--limit", "0"});
        QTest::newRow("limit not a number") << args({"list", "--limit", "many"});
        QTest::newRow("limit beyond any history") << args({"list", "--limit", "100000001"});
        QTest::newRow("unknown kind") << args({"list", "--kind", "images"});
        QTest::newRow("kind in capitals") << args({"list", "--kind", "TEXT"});
        QTest::newRow("limit with recent") << args({"recent", "--limit", "5"});
        QTest::newRow("kind with copy") << args({"copy", "a", "--kind", "text"});
    }
    void badUsageIsRefusedWithAReason()
    {
        QFETCH(QStringList, arguments);
        QString error;
        QCOMPARE(CtlOptions::parse(arguments, &error).has_value(), false);
        QVERIFY(!error.isEmpty());
    }

private:
    static QStringList args(std::initializer_list<const char*> list)
    {
        QStringList arguments{QStringLiteral("vantrelctl")};
        for (const char* argument : list)
            arguments << QString::fromUtf8(argument);
        return arguments;
    }
};

QTEST_GUILESS_MAIN(TestCtlOptions)
#include "tst_ctloptions.moc"
