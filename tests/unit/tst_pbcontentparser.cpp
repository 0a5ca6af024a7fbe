#include "FixedClock.h"
#include "platform/PasteboardItem.h"
#include "platform/PasteboardTypes.h"
#include "recording/PBContentParser.h"

#include <QLoggingCategory>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTest>

using namespace Qt::StringLiterals;
namespace T = PasteboardTypes;

namespace {
// Uuids a test can predict: "UUID-1", "UUID-2", ...
class CountingUuids : public UuidSource
{
public:
    QString createUuid() const override { return u"UUID-%1"_s.arg(++m_count); }

private:
    mutable int m_count = 0;
};

const QString otherType = u"org.example.private"_s;

// Types in the given order; a type without an entry in `bytes` gives no bytes when read.
PasteboardItem makeItem(const QStringList& types, const QVariantMap& bytes)
{
    QList<std::pair<QString, QByteArray>> data;
    for (const QString& type : types) {
        if (bytes.contains(type))
            data.append({type, bytes.value(type).toByteArray()});
    }
    return PasteboardItem(types, data);
}
} // namespace

class TestPBContentParser : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void firstSupportedTypeDecidesTheClass_data();
    void firstSupportedTypeDecidesTheClass();
    void keywordIsTheTextsFirstMebibyteCutBetweenCharacters_data();
    void keywordIsTheTextsFirstMebibyteCutBetweenCharacters();
    void everyTypeIsKeptAndEveryReadablePayloadStored();
    void itemTakesItsIdentityFromTheClockAndTheUuidSource();
    void callerFieldsAreLeftUnset();
    void keywordIsLogged();
};

void TestPBContentParser::initTestCase()
{
    QLoggingCategory::setFilterRules(u"vantrel.capture.debug=true"_s);
}

void TestPBContentParser::firstSupportedTypeDecidesTheClass_data()
{
    QTest::addColumn<QStringList>("types");
    QTest::addColumn<QVariantMap>("bytes");
    QTest::addColumn<int>("type"); // -1: refused
    QTest::addColumn<QString>("keyword");

    const QByteArray sentence = "The quick brown fox.";
    const QByteArray html = "<p>The quick brown fox.</p>";
    const QByteArray png = "\x89PNG";
    const QByteArray fileAddress = "file:///home/x/My%20File.txt";

    QTest::newRow("html, rtf, text")
        << QStringList{T::html, T::rtf, T::string}
        << QVariantMap{{T::html, html}, {T::rtf, "{\\rtf1}"_ba}, {T::string, sentence}}
        << int(PBContentTypeText) << QString::fromUtf8(sentence);
    QTest::newRow("www address as text")
        << QStringList{T::string} << QVariantMap{{T::string, "www.example.com"_ba}}
        << int(PBContentTypeURL) << u"www.example.com"_s;
    QTest::newRow("url type with text")
        << QStringList{T::url, T::string}
        << QVariantMap{{T::url, "https://example.com"_ba}, {T::string, "https://example.com"_ba}}
        << int(PBContentTypeURL) << u"https://example.com"_s;
    QTest::newRow("html whose text is an address")
        << QStringList{T::html, T::string}
        << QVariantMap{{T::html, "<a>x</a>"_ba}, {T::string, "https://example.com/a"_ba}}
        << int(PBContentTypeURL) << u"https://example.com/a"_s;
    QTest::newRow("address followed by a word")
        << QStringList{T::string} << QVariantMap{{T::string, "https://example.com more"_ba}}
        << int(PBContentTypeText) << u"https://example.com more"_s;
    QTest::newRow("unlisted type, then tiff")
        << QStringList{otherType, T::tiff} << QVariantMap{{otherType, "x"_ba}, {T::tiff, "II*"_ba}}
        << int(PBContentTypeImage) << u""_s;
    QTest::newRow("file address, text, tiff")
        << QStringList{T::fileUrl, T::string, T::tiff}
        << QVariantMap{{T::fileUrl, fileAddress}, {T::string, fileAddress}, {T::tiff, "II*"_ba}}
        << int(PBContentTypeFile) << u"file:///home/x/My File.txt"_s;
    QTest::newRow("file address before images")
        << QStringList{T::fileUrl, T::png, T::pdf}
        << QVariantMap{{T::fileUrl, fileAddress}, {T::png, png}, {T::pdf, "%PDF"_ba}}
        << int(PBContentTypeFile) << u"file:///home/x/My File.txt"_s;
    QTest::newRow("image before file address")
        << QStringList{T::png, T::fileUrl} << QVariantMap{{T::png, png}, {T::fileUrl, fileAddress}}
        << int(PBContentTypeImage) << u""_s;
    QTest::newRow("file address with a bad escape")
        << QStringList{T::fileUrl} << QVariantMap{{T::fileUrl, "file:///tmp/a%zz"_ba}}
        << int(PBContentTypeFile) << u""_s;
    QTest::newRow("file address not UTF-8")
        << QStringList{T::fileUrl} << QVariantMap{{T::fileUrl, QByteArray("file:///\xff")}}
        << int(PBContentTypeFile) << u""_s;
    QTest::newRow("rtf without plain text")
        << QStringList{T::rtf} << QVariantMap{{T::rtf, "{\\rtf1 hi}"_ba}} << int(PBContentTypeText)
        << u""_s;
    QTest::newRow("url type without plain text")
        << QStringList{T::url} << QVariantMap{{T::url, "https://example.com"_ba}}
        << int(PBContentTypeURL) << u""_s;
    QTest::newRow("unlisted types before text")
        << QStringList{otherType, u"public.jpeg"_s, T::string}
        << QVariantMap{{otherType, "x"_ba}, {T::string, sentence}} << int(PBContentTypeText)
        << QString::fromUtf8(sentence);
    QTest::newRow("only unlisted types") << QStringList{otherType, u"public.jpeg"_s}
                                         << QVariantMap{{otherType, "x"_ba}} << -1 << QString();
    QTest::newRow("no types") << QStringList{} << QVariantMap{} << -1 << QString();
}

void TestPBContentParser::firstSupportedTypeDecidesTheClass()
{
    QFETCH(QStringList, types);
    QFETCH(QVariantMap, bytes);
    QFETCH(int, type);
    QFETCH(QString, keyword);

    const PBContentPtr content = PBContentParser::contentWithPasteboardItem(makeItem(types, bytes));
    if (type < 0) {
        QVERIFY(!content);
        return;
    }
    QVERIFY(content);
    QCOMPARE(int(content->type()), type);
    QCOMPARE(content->keyword(), keyword);
    QVERIFY(!content->keyword().isNull());
    QCOMPARE(content->pasteboardTypes(), types);
    QCOMPARE(content->dataArray()->size(), bytes.size());
}

void TestPBContentParser::keywordIsTheTextsFirstMebibyteCutBetweenCharacters_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("type");
    QTest::addColumn<qsizetype>("keptBytes");
    constexpr qsizetype limit = PBContentParser::keywordLimit;
    const QByteArray a(limit, 'a');
    const QByteArray address = "http://example.com/"_ba;

    QTest::newRow("longer text") << a + "bcd" << 0 << limit;
    QTest::newRow("two-byte character across the limit") << a.left(limit - 1) + "\xc3\xa9"
                                                                                "b"
                                                         << 0 << limit - 1;
    QTest::newRow("four-byte character across the limit")
        << a.left(limit - 2) + "\xf0\x9f\x98\x80" << 0 << limit - 2;
    // A four-byte character starting at each offset from one that ends at the limit to one
    // that starts there: the cut falls before it unless it fits whole.
    for (qsizetype start = limit - 4; start <= limit; ++start)
        QTest::addRow("four-byte character from limit %+d", int(start - limit))
            << a.left(start) + "\xf0\x9f\x98\x80"
                               "b"
            << 0 << (start + 4 <= limit ? start + 4 : start);
    QTest::newRow("character ending at the limit") << a.left(limit - 2) + "\xc3\xa9"
                                                                          "bb"
                                                   << 0 << limit;
    QTest::newRow("stray continuation bytes at the limit")
        << a.left(limit - 4) + QByteArray(8, '\x80') << 0 << limit;
    QTest::newRow("address of the limit") << address + a.left(limit - address.size()) << 3 << limit;
    QTest::newRow("address too long to keep whole") << address + a << 0 << limit;
}

void TestPBContentParser::keywordIsTheTextsFirstMebibyteCutBetweenCharacters()
{
    QFETCH(QByteArray, text);
    QFETCH(int, type);
    QFETCH(qsizetype, keptBytes);
    // A mebibyte per log line is no help to anyone reading the test's output.
    QLoggingCategory::setFilterRules(u"vantrel.capture.debug=false"_s);
    const auto restore =
        qScopeGuard([] { QLoggingCategory::setFilterRules(u"vantrel.capture.debug=true"_s); });

    const PBContentPtr content =
        PBContentParser::contentWithPasteboardItem(makeItem({T::string}, {{T::string, text}}));
    QVERIFY(content);
    QCOMPARE(int(content->type()), type);
    QCOMPARE(content->keyword(), QString::fromUtf8(text.left(keptBytes)));
    QCOMPARE(content->dataArray()->first(), text);
}

void TestPBContentParser::everyTypeIsKeptAndEveryReadablePayloadStored()
{
    const QStringList types{u"public.jpeg"_s, T::html, T::string, T::png};
    const PBContentPtr content = PBContentParser::contentWithPasteboardItem(
        makeItem(types, {{T::string, "hello"_ba}, {u"public.jpeg"_s, "J"_ba}, {T::png, ""_ba}}));

    QVERIFY(content);
    QCOMPARE(content->pasteboardTypes(), types);
    // The html type gave nothing and is left out; the zero-byte png is data.
    const QList<QByteArray> expected{"J", "hello", ""};
    QCOMPARE(*content->dataArray(), expected);
}

void TestPBContentParser::itemTakesItsIdentityFromTheClockAndTheUuidSource()
{
    const PasteboardItem item = makeItem({T::string}, {{T::string, "hello"_ba}});
    const FixedClock clock(1700000000.25);

    const PBContentPtr first = PBContentParser::contentWithPasteboardItem(item, clock);
    const PBContentPtr second = PBContentParser::contentWithPasteboardItem(item, clock);

    static const QRegularExpression uuidShape(
        u"^[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}$"_s);
    QVERIFY2(uuidShape.match(first->uuid()).hasMatch(), qPrintable(first->uuid()));
    QVERIFY(first->uuid() != second->uuid());
    QCOMPARE(first->date, 1700000000.25);

    const CountingUuids uuids;
    QCOMPARE(PBContentParser::contentWithPasteboardItem(item, clock, uuids)->uuid(), u"UUID-1"_s);
    QCOMPARE(PBContentParser::contentWithPasteboardItem(item, clock, uuids)->uuid(), u"UUID-2"_s);
}

void TestPBContentParser::callerFieldsAreLeftUnset()
{
    const PBContentPtr content =
        PBContentParser::contentWithPasteboardItem(makeItem({T::string}, {{T::string, "hi"_ba}}));

    QVERIFY(content->app().isNull());
    QVERIFY(content->title().isNull());
    QVERIFY(!content->marked);
    QVERIFY(!content->dataPathArray());
}

void TestPBContentParser::keywordIsLogged()
{
    QTest::ignoreMessage(QtDebugMsg, "keyword: 100% sure");
    PBContentParser::contentWithPasteboardItem(
        makeItem({T::string}, {{T::string, "100% sure"_ba}}));
}

QTEST_GUILESS_MAIN(TestPBContentParser)
#include "tst_pbcontentparser.moc"
