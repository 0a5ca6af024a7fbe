#include "UrlRecorder.h"
#include "item/PBFileContent.h"
#include "item/PBImageContent.h"
#include "item/PBTextContent.h"
#include "item/PBURLContent.h"
#include "platform/PasteboardTypes.h"
#include "shell/Dialogs.h"
#include "shell/Utils.h"
#include "storage/DBManager.h"
#include "unit/StoreFixture.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

using namespace Qt::StringLiterals;

namespace {
const QStringList openerSchemes = {u"http"_s, u"https"_s,      u"file"_s, u"mailto"_s, u"sftp"_s,
                                   u"tel"_s,  u"javascript"_s, u"smb"_s,  u"ftp"_s,    u"myapp"_s};

template <class T> PBContentPtr makeItem(const QString& type, const QByteArray& payload)
{
    auto item = PBContent::createInstance<T>();
    item->setPasteboardTypes({type});
    item->setDataArray({payload});
    item->setKeyword(QString::fromUtf8(payload));
    return item;
}

PBContentPtr fileItem(const QString& path)
{
    return makeItem<PBFileContent>(PasteboardTypes::fileUrl,
                                   QUrl::fromLocalFile(path).toEncoded(QUrl::FullyEncoded));
}
} // namespace

class TestUtils : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void textImageAndNoItemOpenNothing_data();
    void textImageAndNoItemOpenNothing();
    void anAddressOpensAtOnceOrAfterTheUserAgreed_data();
    void anAddressOpensAtOnceOrAfterTheUserAgreed();
    void anExistingFileOpensItsFolderWhenNoFileManagerAnswers();
    void aMissingFileShowsFileHasBeenMoved_data();
    void aMissingFileShowsFileHasBeenMoved();
    void emailWritesToTheSupportAddress();
    void togglingMarksFlipsEachItemAndStoresIt();

private:
    std::unique_ptr<UrlRecorder> m_opener;
    QList<Dialogs::Request> m_dialogs;
    QTemporaryDir m_dir;
};

void TestUtils::initTestCase()
{
    // Nothing the test runs may reach the user's own folders.
    QVERIFY(m_dir.isValid());
    qputenv("XDG_DATA_HOME", m_dir.filePath(u"data"_s).toUtf8());
    qputenv("XDG_CONFIG_HOME", m_dir.filePath(u"config"_s).toUtf8());
}

void TestUtils::init()
{
    QVERIFY(m_dir.isValid());
    m_opener = std::make_unique<UrlRecorder>(openerSchemes);
    m_dialogs.clear();
    Dialogs::setResponder([this](const Dialogs::Request& request) {
        m_dialogs.append(request);
        return request.defaultButton;
    });
}

void TestUtils::cleanup()
{
    Dialogs::setResponder({});
    m_opener.reset();
}

void TestUtils::textImageAndNoItemOpenNothing_data()
{
    QTest::addColumn<PBContentPtr>("item");

    QTest::newRow("no item") << PBContentPtr();
    QTest::newRow("text that is an address")
        << makeItem<PBTextContent>(PasteboardTypes::string, "https://example.org");
    QTest::newRow("image") << makeItem<PBImageContent>(PasteboardTypes::png, "png bytes");
}

void TestUtils::textImageAndNoItemOpenNothing()
{
    QFETCH(PBContentPtr, item);

    Utils::openContent(item);
    QCoreApplication::processEvents();
    QCOMPARE(m_opener->opened, QList<QUrl>());
    QCOMPARE(m_dialogs.size(), 0);
}

void TestUtils::anAddressOpensAtOnceOrAfterTheUserAgreed_data()
{
    QTest::addColumn<QString>("keyword");
    QTest::addColumn<QString>("opened");
    QTest::addColumn<bool>("asks");
    QTest::addColumn<bool>("agree");

    const QString none;
    QTest::newRow("https") << u"https://example.org/a?b=c#d"_s << u"https://example.org/a?b=c#d"_s
                           << false << false;
    QTest::newRow("http with port")
        << u"http://example.org:8080/"_s << u"http://example.org:8080/"_s << false << false;
    QTest::newRow("surrounding white space")
        << u"  https://example.org\n"_s << u"https://example.org"_s << false << false;
    QTest::newRow("mail") << u"mailto:someone@example.org"_s << u"mailto:someone@example.org"_s
                          << false << false;
    QTest::newRow("ftp") << u"ftp://example.org/file"_s << u"ftp://example.org/file"_s << false
                         << false;
    QTest::newRow("sftp") << u"sftp://host/dir"_s << u"sftp://host/dir"_s << false << false;
    QTest::newRow("network share")
        << u"smb://server/share"_s << u"smb://server/share"_s << false << false;
    QTest::newRow("phone") << u"tel:+4930123456"_s << u"tel:+4930123456"_s << false << false;
    QTest::newRow("www without scheme")
        << u"www.example.org/docs"_s << u"http://www.example.org/docs"_s << false << false;
    QTest::newRow("script, refused") << u"javascript:alert(1)"_s << none << true << false;
    QTest::newRow("local file, refused") << u"file:///etc/passwd"_s << none << true << false;
    QTest::newRow("custom handler, agreed")
        << u"myapp://do/something"_s << u"myapp://do/something"_s << true << true;
    QTest::newRow("no scheme") << u"example.org"_s << none << false << false;
    QTest::newRow("www with a space") << u"www.example.org/a b"_s << none << false << false;
    QTest::newRow("web without host") << u"https:///path"_s << none << false << false;
    QTest::newRow("plain words") << u"not an address at all"_s << none << false << false;
    QTest::newRow("empty") << u""_s << none << false << false;
}

void TestUtils::anAddressOpensAtOnceOrAfterTheUserAgreed()
{
    QFETCH(QString, keyword);
    QFETCH(QString, opened);
    QFETCH(bool, asks);
    QFETCH(bool, agree);

    Dialogs::setResponder([&](const Dialogs::Request& request) {
        m_dialogs.append(request);
        return agree ? 1 : request.defaultButton;
    });
    Utils::openContent(makeItem<PBURLContent>(PasteboardTypes::url, keyword.toUtf8()));
    const QList<QUrl> expected =
        opened.isNull() ? QList<QUrl>() : QList<QUrl>{QUrl(opened, QUrl::StrictMode)};
    QCOMPARE(m_opener->opened, expected);
    QCOMPARE(m_dialogs.size(), asks ? 1 : 0);
    if (asks)
        QVERIFY(m_dialogs.first().text.contains(keyword.trimmed()));
}

void TestUtils::anExistingFileOpensItsFolderWhenNoFileManagerAnswers()
{
    // The test runs without a session bus, so no file manager can be asked.
    const QString folder = m_dir.filePath(u"with space é"_s);
    QVERIFY(QDir().mkpath(folder));
    QFile file(folder + u"/report.txt"_s);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();

    Utils::openContent(fileItem(file.fileName()));
    QTRY_COMPARE(m_opener->opened, QList<QUrl>{QUrl::fromLocalFile(folder)});
    QCOMPARE(m_dialogs.size(), 0);
}

void TestUtils::aMissingFileShowsFileHasBeenMoved_data()
{
    QTest::addColumn<PBContentPtr>("item");

    QTest::newRow("deleted") << fileItem(m_dir.filePath(u"gone.txt"_s));
    QTest::newRow("relative path") << makeItem<PBFileContent>(PasteboardTypes::fileUrl, ".");
    QTest::newRow("undecodable address")
        << makeItem<PBFileContent>(PasteboardTypes::fileUrl, "file:///tmp/%zz");
}

void TestUtils::aMissingFileShowsFileHasBeenMoved()
{
    QFETCH(PBContentPtr, item);

    Utils::openContent(item);
    QCOMPARE(m_dialogs.size(), 1);
    QCOMPARE(m_dialogs[0].text, u"File has been moved"_s);
    QCOMPARE(m_dialogs[0].buttons.size(), 1);
    QCoreApplication::processEvents();
    QCOMPARE(m_opener->opened, QList<QUrl>());
}

void TestUtils::emailWritesToTheSupportAddress()
{
    Utils::email();
    QCOMPARE(m_opener->opened, QList<QUrl>{QUrl(QStringLiteral("mailto:" VANTREL_SUPPORT_EMAIL))});
}

void TestUtils::togglingMarksFlipsEachItemAndStoresIt()
{
    StoreFixture store;
    DBManager& history = *store.manager;
    const PBContentPtr first = makeItem<PBTextContent>(PasteboardTypes::string, "first");
    const PBContentPtr second = makeItem<PBTextContent>(PasteboardTypes::string, "second");
    for (const PBContentPtr& item : {first, second}) {
        std::optional<bool> written;
        history.insertPbContent(item, [&written](bool ok) { written = ok; });
        QTRY_VERIFY(written);
        QVERIFY(*written);
    }
    int done = 0;
    Utils::toggleMarked(history, {first}, [&done] { ++done; });
    QTRY_COMPARE(done, 1);
    QCOMPARE(history.items(Category::Marked), QList<PBContentPtr>{first});

    // A mixed list stays mixed: each item flips on its own.
    Utils::toggleMarked(history, {first, second}, [&done] { ++done; });
    QTRY_COMPARE(done, 2);
    QVERIFY(!first->marked);
    QVERIFY(second->marked);
    QCOMPARE(history.items(Category::Marked), QList<PBContentPtr>{second});
    QCOMPARE(history.count(Category::Marked).value(), 1);
}

QTEST_MAIN(TestUtils)
#include "tst_utils.moc"
