#include "support/StringAdditions.h"

#include <QTest>
#include <limits>

using namespace Qt::StringLiterals;

class TestStringAdditions : public QObject
{
    Q_OBJECT

private slots:
    void webAddressRuleMatchesTheWholeText_data();
    void webAddressRuleMatchesTheWholeText();
    void percentEscapesDecodeAsUtf8_data();
    void percentEscapesDecodeAsUtf8();
    void byteCountsUseWholeBinaryUnits_data();
    void byteCountsUseWholeBinaryUnits();
};

void TestStringAdditions::webAddressRuleMatchesTheWholeText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isUrl");

    QTest::newRow("empty") << u""_s << false;
    QTest::newRow("www-dot-a gets a scheme") << u"www.a"_s << true;
    QTest::newRow("www-dot alone") << u"www."_s << false;
    QTest::newRow("www address with path") << u"www.example.com/page?id=1"_s << true;
    QTest::newRow("upper-case www") << u"WWW.example.com"_s << false;
    QTest::newRow("http") << u"http://example.com"_s << true;
    QTest::newRow("https with port and path") << u"https://example.com:8443/a/b?x=1&y=2"_s << true;
    QTest::newRow("trailing blank") << u"http://example.com "_s << false;
    QTest::newRow("leading blank") << u" http://example.com"_s << false;
    QTest::newRow("followed by a word") << u"https://example.com and more"_s << false;
    QTest::newRow("number sign") << u"http://example.com/page#top"_s << false;
    QTest::newRow("semicolon") << u"http://example.com/a;b"_s << false;
    QTest::newRow("square brackets") << u"http://example.com/[x]"_s << false;
    QTest::newRow("curly brackets") << u"http://example.com/{x}"_s << false;
    QTest::newRow("line break") << u"http://example.com/a\nb"_s << false;
    QTest::newRow("trailing line break") << u"http://example.com\n"_s << false;
    QTest::newRow("upper-case scheme") << u"HTTP://example.com"_s << false;
    QTest::newRow("other scheme") << u"ftp://example.com"_s << false;
    QTest::newRow("no scheme") << u"example.com"_s << false;
    QTest::newRow("no host") << u"http://"_s << false;
    QTest::newRow("non-ASCII host") << u"http://bücher.de"_s << false;
    QTest::newRow("non-ASCII path") << u"http://example.com/ä"_s << false;
    QTest::newRow("non-ASCII port digit") << u"http://example.com:\u0663"_s << false;
    QTest::newRow("port without digits") << u"http://example.com:"_s << false;
    QTest::newRow("all path punctuation") << u"http://example.com/-._?,'+&%$=~*!():@\\"_s << true;
    QTest::newRow("empty path segments") << u"http://example.com//a/"_s << true;
    QTest::newRow("blank in host") << u"http://exa mple.com"_s << false;
}

void TestStringAdditions::webAddressRuleMatchesTheWholeText()
{
    QFETCH(QString, text);
    QFETCH(bool, isUrl);
    QCOMPARE(StringAdditions::isUrl(text), isUrl);
}

void TestStringAdditions::percentEscapesDecodeAsUtf8_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("decoded");

    QTest::newRow("blank") << u"a%20b"_s << true << u"a b"_s;
    QTest::newRow("no escapes") << u"plain"_s << true << u"plain"_s;
    QTest::newRow("empty") << u""_s << true << u""_s;
    QTest::newRow("two-byte sequence") << u"%C3%A9t%C3%A9"_s << true << u"été"_s;
    QTest::newRow("lower-case hex") << u"%e2%82%ac"_s << true << u"€"_s;
    QTest::newRow("decoded once only") << u"%2520"_s << true << u"%20"_s;
    QTest::newRow("non-ASCII kept") << u"ä%20ö"_s << true << u"ä ö"_s;
    QTest::newRow("not hex digits") << u"a%zzb"_s << false << QString();
    QTest::newRow("one digit at the end") << u"a%4"_s << false << QString();
    QTest::newRow("lone percent") << u"100%"_s << false << QString();
    QTest::newRow("truncated sequence") << u"%C3"_s << false << QString();
    QTest::newRow("invalid byte") << u"%FF"_s << false << QString();
    QTest::newRow("encoded surrogate") << u"%ED%A0%80"_s << false << QString();
}

void TestStringAdditions::percentEscapesDecodeAsUtf8()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(QString, decoded);
    const auto result = StringAdditions::decodeString(text);
    QCOMPARE(result.has_value(), valid);
    if (valid) {
        QCOMPARE(*result, decoded);
        QVERIFY(!result->isNull());
    }
}

void TestStringAdditions::byteCountsUseWholeBinaryUnits_data()
{
    QTest::addColumn<qint64>("size");
    QTest::addColumn<QString>("text");

    QTest::newRow("zero") << qint64(0) << u"0 B"_s;
    QTest::newRow("negative") << qint64(-5000) << u"-5000 B"_s;
    QTest::newRow("largest bytes") << qint64(1023) << u"1023 B"_s;
    QTest::newRow("one KB") << qint64(1024) << u"1 KB"_s;
    QTest::newRow("largest KB") << qint64(1048575) << u"1023 KB"_s;
    QTest::newRow("one MB") << qint64(1048576) << u"1 MB"_s;
    QTest::newRow("one and a half MB") << qint64(1572864) << u"1 MB"_s;
    QTest::newRow("largest MB") << qint64(1073741823) << u"1023 MB"_s;
    QTest::newRow("one GB") << qint64(1073741824) << u"1 GB"_s;
    QTest::newRow("largest GB") << qint64(1099511627775) << u"1023 GB"_s;
    QTest::newRow("one TB") << qint64(1099511627776) << u""_s;
    QTest::newRow("largest count") << std::numeric_limits<qint64>::max() << u""_s;
}

void TestStringAdditions::byteCountsUseWholeBinaryUnits()
{
    QFETCH(qint64, size);
    QFETCH(QString, text);
    QCOMPARE(StringAdditions::stringWithSize(size), text);
}

QTEST_GUILESS_MAIN(TestStringAdditions)
#include "tst_stringadditions.moc"
