#include "item/PBFileContent.h"
#include "item/PBTextContent.h"
#include "item/PBURLContent.h"
#include "platform/PasteboardTypes.h"
#include "recording/PBContentComparer.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {
QStringList g_captureLog;

void recordCaptureLog(QtMsgType, const QMessageLogContext& context, const QString& message)
{
    if (QLatin1StringView(context.category) == "vantrel.capture"_L1)
        g_captureLog << message;
}

// One item per token: "A" a text offered as plain text first, "A@html" the same text offered as
// HTML first, "F1" a file. Every token makes a new object, as every clipboard change does.
PBContentPtr itemFor(const QString& token)
{
    if (token.startsWith(u'F')) {
        auto file = PBContent::createInstance<PBFileContent>();
        file->setPasteboardTypes({PasteboardTypes::fileUrl});
        file->setDataArray({"file:///tmp/"_ba + token.toUtf8()});
        return file;
    }
    auto text = PBContent::createInstance<PBTextContent>();
    const QStringList parts = token.split(u'@');
    const QByteArray bytes = parts.first().toUtf8();
    text->setPasteboardTypes(parts.size() > 1
                                 ? QStringList{PasteboardTypes::html, PasteboardTypes::string}
                                 : QStringList{PasteboardTypes::string, PasteboardTypes::html});
    text->setDataArray({bytes, bytes});
    return text;
}

// "A+B" a batch of two items, "-" the empty batch.
QList<PBContentPtr> batchFor(const QString& pattern)
{
    QList<PBContentPtr> batch;
    if (pattern != "-"_L1) {
        for (const QString& token : pattern.split(u'+'))
            batch << itemFor(token);
    }
    return batch;
}

PBContentPtr makeItem(qint64 type, const QStringList& types, const QList<QByteArray>& payloads)
{
    PBContentPtr item = PBContent::withType(type);
    item->setPasteboardTypes(types);
    item->setDataArray(payloads);
    return item;
}

PBContentPtr text(const QStringList& types, const QList<QByteArray>& payloads)
{
    return makeItem(PBContentTypeText, types, payloads);
}

// A first payload larger than the comparer keeps, with `last` as its last byte.
QByteArray large(char last = 'z')
{
    QByteArray bytes(ContentFingerprint::largestKeptPayload + 1, 'x');
    bytes.back() = last;
    return bytes;
}

qint64 modeFor(const QString& name)
{
    if (name == "copy"_L1)
        return 0;
    return name == "twice"_L1 ? 1 : name.toLongLong();
}
} // namespace

class TestPBContentComparer : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void batchesAreRecordedByTheCopyMode_data();
    void batchesAreRecordedByTheCopyMode();
    void repeatIsToldByTypeFirstTypeAndFirstPayload_data();
    void repeatIsToldByTypeFirstTypeAndFirstPayload();
    void secondCopyMarksTheBatchRecorded();
    void everyCallFirstLogsTheFirstItemsTypes();

private:
    QtMessageHandler m_previousHandler = nullptr;
};

void TestPBContentComparer::init()
{
    g_captureLog.clear();
    m_previousHandler = qInstallMessageHandler(recordCaptureLog);
}

void TestPBContentComparer::cleanup()
{
    qInstallMessageHandler(m_previousHandler);
}

void TestPBContentComparer::batchesAreRecordedByTheCopyMode_data()
{
    // Each step is "<mode> <batch>"; mode is copy, twice or a number. answers holds 1 for each
    // step whose batch is recorded; log the decision lines in order (types lines left out).
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("answers");
    QTest::addColumn<QStringList>("log");
    const QString ne1 = u"Not Equal 1"_s, ne2 = u"Not Equal 2"_s, eq = u"Equal"_s,
                  marked = u"marked"_s;

    QTest::newRow("copy: A, A records A once")
        << QStringList{u"copy A"_s, u"copy A"_s} << u"10"_s << QStringList();
    QTest::newRow("copy: A, B, A records all three")
        << QStringList{u"copy A"_s, u"copy B"_s, u"copy A"_s} << u"111"_s << QStringList();
    QTest::newRow("copy: more items after an equal first item")
        << QStringList{u"copy A"_s, u"copy A+B"_s} << u"11"_s << QStringList();
    QTest::newRow("copy: other first type")
        << QStringList{u"copy A"_s, u"copy A@html"_s} << u"11"_s << QStringList();
    QTest::newRow("copy: an empty batch is never a repeat")
        << QStringList{u"copy A"_s, u"copy -"_s, u"copy -"_s, u"copy A"_s} << u"1111"_s
        << QStringList();

    QTest::newRow("twice: A once records nothing")
        << QStringList{u"twice A"_s} << u"0"_s << QStringList{ne1};
    QTest::newRow("twice: A, A records A once")
        << QStringList{u"twice A"_s, u"twice A"_s} << u"01"_s << QStringList{ne1, eq};
    QTest::newRow("twice: A, A, A records A once")
        << QStringList{u"twice A"_s, u"twice A"_s, u"twice A"_s} << u"010"_s
        << QStringList{ne1, eq, marked};
    QTest::newRow("twice: A, B, A, A records A once")
        << QStringList{u"twice A"_s, u"twice B"_s, u"twice A"_s, u"twice A"_s} << u"0001"_s
        << QStringList{ne1, ne2, ne2, eq};
    QTest::newRow("twice: A, B, B records B once")
        << QStringList{u"twice A"_s, u"twice B"_s, u"twice B"_s} << u"001"_s
        << QStringList{ne1, ne2, eq};
    QTest::newRow("twice: two files copied twice")
        << QStringList{u"twice F1+F2"_s, u"twice F1+F2"_s} << u"01"_s << QStringList{ne1, eq};
    QTest::newRow("twice: one file, then both")
        << QStringList{u"twice F1"_s, u"twice F1+F2"_s} << u"00"_s << QStringList{ne1, ne1};
    QTest::newRow("twice: the same files in another order")
        << QStringList{u"twice F1+F2"_s, u"twice F2+F1"_s} << u"00"_s << QStringList{ne1, ne2};
    QTest::newRow("twice: other first type")
        << QStringList{u"twice A"_s, u"twice A@html"_s} << u"00"_s << QStringList{ne1, ne2};
    QTest::newRow("twice: an empty batch resets")
        << QStringList{u"twice A"_s, u"twice -"_s, u"twice A"_s, u"twice A"_s} << u"0001"_s
        << QStringList{ne1, ne1, ne1, eq};
    QTest::newRow("twice: any mode but 0")
        << QStringList{u"7 A"_s, u"7 A"_s} << u"01"_s << QStringList{ne1, eq};

    QTest::newRow("switch: twice once, then copy records")
        << QStringList{u"twice A"_s, u"copy A"_s} << u"01"_s << QStringList{ne1};
    QTest::newRow("switch: recorded under copy, not again under twice")
        << QStringList{u"copy A"_s, u"twice A"_s} << u"10"_s << QStringList{marked};
    QTest::newRow("switch: recorded under twice, not again under copy")
        << QStringList{u"twice A"_s, u"twice A"_s, u"copy A"_s} << u"010"_s << QStringList{ne1, eq};
    QTest::newRow("switch: twice twice, after one copy under copy")
        << QStringList{u"copy A"_s, u"twice B"_s, u"copy B"_s, u"twice B"_s} << u"1010"_s
        << QStringList{ne2, marked};
}

void TestPBContentComparer::batchesAreRecordedByTheCopyMode()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, answers);
    QFETCH(QStringList, log);
    PBContentComparer comparer;

    QString given;
    for (const QString& step : std::as_const(steps)) {
        const QStringList parts = step.split(u' ');
        given +=
            comparer.pushAndCompareDataArray(batchFor(parts[1]), modeFor(parts[0])) ? u'1' : u'0';
    }
    QCOMPARE(given, answers);
    QStringList decisions = g_captureLog;
    decisions.removeIf([](const QString& line) { return line.startsWith(u'('); });
    QCOMPARE(decisions, log);
}

void TestPBContentComparer::repeatIsToldByTypeFirstTypeAndFirstPayload_data()
{
    QTest::addColumn<PBContentPtr>("first");
    QTest::addColumn<PBContentPtr>("second");
    QTest::addColumn<bool>("repeat");
    namespace T = PasteboardTypes;

    QTest::newRow("same text") << text({T::string}, {"a"}) << text({T::string}, {"a"}) << true;
    QTest::newRow("text and url of the same bytes")
        << text({T::string}, {"a"}) << makeItem(PBContentTypeURL, {T::string}, {"a"}) << false;
    QTest::newRow("html first, then text first")
        << text({T::html, T::string}, {"<p>a</p>", "a"})
        << text({T::string, T::html}, {"a", "<p>a</p>"}) << false;
    QTest::newRow("second payloads differ")
        << text({T::string, T::html}, {"a", "<p>a</p>"})
        << text({T::string, T::html}, {"a", "<b>a</b>"}) << true;
    QTest::newRow("first payloads differ")
        << text({T::string}, {"a"}) << text({T::string}, {"b"}) << false;
    QTest::newRow("no types") << text({}, {"a"}) << text({}, {"a"}) << false;
    QTest::newRow("no payloads") << text({T::string}, {}) << text({T::string}, {}) << false;
    PBContentPtr lone = text({T::string}, {});
    QTest::newRow("no payloads, itself") << lone << lone << false;
    PBContentPtr other = text({T::string}, {"a"});
    other->setApp(u"org.example.Editor"_s);
    other->setKeyword(u"different"_s);
    QTest::newRow("app and keyword ignored") << text({T::string}, {"a"}) << other << true;

    const QByteArray kept(ContentFingerprint::largestKeptPayload, 'x');
    QTest::newRow("same large payload")
        << text({T::string}, {large()}) << text({T::string}, {large()}) << true;
    QTest::newRow("large payloads differ in the last byte")
        << text({T::string}, {large('y')}) << text({T::string}, {large('z')}) << false;
    QTest::newRow("large payload, then its first bytes")
        << text({T::string}, {large()}) << text({T::string}, {kept}) << false;
}

// Under "Copy" a batch is refused exactly when it repeats the one recorded before it.
void TestPBContentComparer::repeatIsToldByTypeFirstTypeAndFirstPayload()
{
    QFETCH(PBContentPtr, first);
    QFETCH(PBContentPtr, second);
    QFETCH(bool, repeat);
    constexpr qint64 copy = 0;
    PBContentComparer comparer;
    QVERIFY(comparer.pushAndCompareDataArray({first}, copy));
    QCOMPARE(comparer.pushAndCompareDataArray({second}, copy), !repeat);
}

void TestPBContentComparer::secondCopyMarksTheBatchRecorded()
{
    constexpr qint64 copyTwice = 1;
    PBContentComparer comparer;
    const QList<PBContentPtr> first = batchFor(u"A"_s);
    QVERIFY(!comparer.pushAndCompareDataArray(first, copyTwice));
    QVERIFY(!comparer.marked());
    QVERIFY(comparer.pushAndCompareDataArray(batchFor(u"A"_s), copyTwice));
    QVERIFY(comparer.marked());
}

void TestPBContentComparer::everyCallFirstLogsTheFirstItemsTypes()
{
    constexpr qint64 copy = 0;
    PBContentComparer comparer;
    comparer.pushAndCompareDataArray(batchFor(u"A@html+F1"_s), copy);
    comparer.pushAndCompareDataArray(batchFor(u"-"_s), copy);
    QCOMPARE(g_captureLog.size(), 2);
    const QString types = g_captureLog.first();
    QVERIFY2(types.indexOf(PasteboardTypes::html) >= 0 &&
                 types.indexOf(PasteboardTypes::html) < types.indexOf(PasteboardTypes::string),
             qPrintable(types));
    QVERIFY(!types.contains(PasteboardTypes::fileUrl));
}

QTEST_GUILESS_MAIN(TestPBContentComparer)
#include "tst_pbcontentcomparer.moc"
