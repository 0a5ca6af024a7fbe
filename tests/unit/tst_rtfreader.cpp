#include "support/RtfReader.h"

#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

using namespace Qt::StringLiterals;

// The reader is judged by what QTextDocument makes of its HTML: the text a user sees and the
// format of one probed word.
class TestRtfReader : public QObject
{
    Q_OBJECT

private slots:
    void readsTextAndFormats_data();
    void readsTextAndFormats();
    void otherBytesAreNotRtf();
};

void TestRtfReader::readsTextAndFormats_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("probe");
    QTest::addColumn<QString>("format"); // b, i, u letters present; "" for none
    QTest::addColumn<QString>("color");
    QTest::addColumn<QString>("background");

    QTest::newRow("plain text") << QByteArray(R"({\rtf1\ansi\deff0 Hello world})")
                                << u"Hello world"_s << u"Hello"_s << u""_s << u""_s << u""_s;
    QTest::newRow("paragraphs and line breaks")
        << QByteArray("{\\rtf1 one\\par two\\line three\\par\n}") << u"one\ntwo\nthree"_s
        << u"two"_s << u""_s << u""_s << u""_s;
    QTest::newRow("bold") << QByteArray(R"({\rtf1 \b bold\b0  plain})") << u"bold plain"_s
                          << u"bold"_s << u"b"_s << u""_s << u""_s;
    QTest::newRow("b0 ends bold") << QByteArray(R"({\rtf1 \b bold\b0  plain})") << u"bold plain"_s
                                  << u"plain"_s << u""_s << u""_s << u""_s;
    QTest::newRow("italic and underline together")
        << QByteArray(R"({\rtf1 \i\ul both\i0\ulnone  none})") << u"both none"_s << u"both"_s
        << u"iu"_s << u""_s << u""_s;
    QTest::newRow("ulnone ends underline")
        << QByteArray(R"({\rtf1 \ul under\ulnone  over})") << u"under over"_s << u"over"_s << u""_s
        << u""_s << u""_s;
    QTest::newRow("group end restores the format")
        << QByteArray(R"({\rtf1 {\b\i inner} outer})") << u"inner outer"_s << u"outer"_s << u""_s
        << u""_s << u""_s;
    QTest::newRow("plain resets every format")
        << QByteArray(R"({\rtf1{\colortbl;\red255\green0\blue0;}\b\i\cf1 x\plain  y})") << u"x y"_s
        << u"y"_s << u""_s << u""_s << u""_s;
    QTest::newRow("text colour from the colour table")
        << QByteArray(
               R"({\rtf1{\colortbl;\red255\green0\blue0;\red0\green0\blue255;}\cf2 blue\cf1  red})")
        << u"blue red"_s << u"blue"_s << u""_s << u"#0000ff"_s << u""_s;
    QTest::newRow("colour index 0 is the automatic colour")
        << QByteArray(R"({\rtf1{\colortbl;\red255\green0\blue0;}\cf1 a\cf0  auto})") << u"a auto"_s
        << u"auto"_s << u""_s << u""_s << u""_s;
    QTest::newRow("highlight colour")
        << QByteArray(R"({\rtf1{\colortbl;\red255\green255\blue0;}\highlight1 marked})")
        << u"marked"_s << u"marked"_s << u""_s << u""_s << u"#ffff00"_s;
    QTest::newRow("unicode escape skips its fallback")
        << QByteArray(R"({\rtf1\uc1 caf\u233e end})") << u"café end"_s << u"end"_s << u""_s << u""_s
        << u""_s;
    QTest::newRow("unicode skip count of two")
        << QByteArray(R"({\rtf1\uc2 \u8364\'80\'80 price})") << u"€ price"_s << u"price"_s << u""_s
        << u""_s << u""_s;
    QTest::newRow("hex escapes in code page 1252")
        << QByteArray(R"({\rtf1\ansi \'93quoted\'94 na\'efve})") << u"“quoted” naïve"_s
        << u"quoted"_s << u""_s << u""_s << u""_s;
    QTest::newRow("escaped braces and backslash")
        << QByteArray(R"({\rtf1 \{a\}\\b})") << u"{a}\\b"_s << u"a"_s << u""_s << u""_s << u""_s;
    QTest::newRow("destinations are not text")
        << QByteArray(
               R"({\rtf1{\fonttbl{\f0\fswiss Arial;}}{\stylesheet{\s0 Normal;}}{\*\generator Foo 1.0;}{\info{\title Secret}}Body})")
        << u"Body"_s << u"Body"_s << u""_s << u""_s << u""_s;
    QTest::newRow("markup characters stay text")
        << QByteArray(R"({\rtf1 <b>&amp;</b>})") << u"<b>&amp;</b>"_s << u"amp"_s << u""_s << u""_s
        << u""_s;
    QTest::newRow("binary data with braces is skipped")
        << QByteArray(R"({\rtf1 a{\*\blob\bin2 }}}b})") << u"ab"_s << u"b"_s << u""_s << u""_s
        << u""_s;
    QTest::newRow("truncated file keeps what was read")
        << QByteArray(R"({\rtf1 {\b cut)") << u"cut"_s << u"cut"_s << u"b"_s << u""_s << u""_s;
    QTest::newRow("spaces are kept") << QByteArray(R"({\rtf1 a   b\tab c})") << u"a   b\tc"_s
                                     << u"c"_s << u""_s << u""_s << u""_s;
}

void TestRtfReader::readsTextAndFormats()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QFETCH(QString, probe);
    QFETCH(QString, format);
    QFETCH(QString, color);
    QFETCH(QString, background);

    const std::optional<QString> html = RtfReader::toHtml(rtf);
    QVERIFY(html);
    QTextDocument document;
    document.setHtml(*html);
    QCOMPARE(document.toPlainText(), text);

    QTextCursor cursor = document.find(probe);
    QVERIFY2(!cursor.isNull(), qPrintable(probe));
    cursor.setPosition(cursor.selectionStart() + 1);
    const QTextCharFormat shown = cursor.charFormat();
    QCOMPARE(shown.fontWeight() >= QFont::Bold, format.contains(u'b'));
    QCOMPARE(shown.fontItalic(), format.contains(u'i'));
    QCOMPARE(shown.fontUnderline(), format.contains(u'u'));
    QCOMPARE(shown.hasProperty(QTextFormat::ForegroundBrush) ? shown.foreground().color().name()
                                                             : QString(),
             color);
    QCOMPARE(shown.hasProperty(QTextFormat::BackgroundBrush) ? shown.background().color().name()
                                                             : QString(),
             background);
}

void TestRtfReader::otherBytesAreNotRtf()
{
    QVERIFY(!RtfReader::toHtml("Hello {\\rtf1 x}"));
    QVERIFY(!RtfReader::toHtml(QByteArray()));
}

QTEST_MAIN(TestRtfReader)
#include "tst_rtfreader.moc"
