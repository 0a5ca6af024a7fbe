#include "item/ContentIcons.h"
#include "item/PBFileContent.h"
#include "item/PBImageContent.h"
#include "item/PBTextContent.h"
#include "item/PBURLContent.h"
#include "item/PayloadReader.h"
#include "platform/PasteboardTypes.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QPainter>
#include <QPdfWriter>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
namespace T = PasteboardTypes;

namespace {
PBContentPtr makeItem(qint64 type, const QStringList& types, const QList<QByteArray>& payloads)
{
    PBContentPtr item = PBContent::withType(type);
    item->setPasteboardTypes(types);
    item->setDataArray(payloads);
    return item;
}

std::shared_ptr<PBFileContent> makeFileItem(const QByteArray& address)
{
    auto item = PBContent::createInstance<PBFileContent>();
    item->setPasteboardTypes({T::fileUrl});
    item->setDataArray({address});
    return item;
}

QImage picture(const QIcon& icon)
{
    return icon.pixmap(QSize(32, 32)).toImage();
}

QByteArray encodedImage(const QSize& size, const char* format)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// Reads payloads straight from their files, as the history's payload store does.
class FileReader : public PayloadReader
{
public:
    std::optional<QByteArray> readPayload(const QString& path) const override
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return std::nullopt;
        return file.readAll();
    }
};

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}
} // namespace

class TestPBContent : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void typeNumbersMapToClasses_data();
    void typeNumbersMapToClasses();
    void payloadsLoadOnceFromFilesSkippingUnreadable();
    void storedPathsAreCutOnlyAfterTheItemsFiles_data();
    void storedPathsAreCutOnlyAfterTheItemsFiles();
    void copyBackPairsEachTypeWithItsOwnPayload_data();
    void copyBackPairsEachTypeWithItsOwnPayload();
    void displaySizeIsFirstRepresentationWiderThan128_data();
    void displaySizeIsFirstRepresentationWiderThan128();
    void textDescriptionIsTrimmedKeyword_data();
    void textDescriptionIsTrimmedKeyword();
    void imageDescriptionGivesSizeAndByteCount();
    void unreadableImageShowsFallbackIcon();
    void pdfImageShowsItsFirstPageAtItsSize();
    void filePathIsDecodedAddress_data();
    void filePathIsDecodedAddress();
    void previewAddressDependsOnKind();
    void applicationIconComesFromDesktopEntry_data();
    void applicationIconComesFromDesktopEntry();
    void fileIconFollowsWhatIsAtThePath_data();
    void fileIconFollowsWhatIsAtThePath();
    void summaryTakesTrimmedKeywordAndKeepsItsValues();
    void summaryDescriptionIsCutToItsLimit_data();
    void summaryDescriptionIsCutToItsLimit();
    void summarySurvivesJsonRoundTrip_data();
    void summarySurvivesJsonRoundTrip();
    void malformedSummaryIsRefused_data();
    void malformedSummaryIsRefused();
    void summaryIconFollowsSourceApplication();

private:
    QTemporaryDir m_dir;
};

// A private icon theme and desktop entries, so the icon look-ups do not depend on the machine.
void TestPBContent::initTestCase()
{
    QVERIFY(m_dir.isValid());
    const QString theme = m_dir.filePath(u"icons/vantrel-test/"_s);
    QVERIFY(writeFile(theme + u"index.theme"_s,
                      "[Icon Theme]\nName=vantrel-test\n"
                      "Directories=64/apps,256/apps,64/places,64/mimetypes\n"
                      "[64/apps]\nSize=64\nType=Fixed\n[256/apps]\nSize=256\nType=Fixed\n"
                      "[64/places]\nSize=64\nType=Fixed\n[64/mimetypes]\nSize=64\nType=Fixed\n"));
    const QByteArray png64 = encodedImage({64, 64}, "PNG");
    QVERIFY(writeFile(theme + u"64/apps/vantrel-editor.png"_s, png64));
    QVERIFY(writeFile(theme + u"256/apps/vantrel-editor.png"_s, encodedImage({256, 256}, "PNG")));
    QVERIFY(writeFile(theme + u"64/apps/vantrel-small.png"_s, png64));
    QVERIFY(writeFile(theme + u"64/places/folder.png"_s, png64));
    QVERIFY(writeFile(theme + u"64/mimetypes/text-plain.png"_s, png64));
    QVERIFY(writeFile(theme + u"64/mimetypes/application-x-generic.png"_s, png64));
    QIcon::setThemeSearchPaths({m_dir.filePath(u"icons"_s)});
    QIcon::setThemeName(u"vantrel-test"_s);

    const QString apps = m_dir.filePath(u"data/applications/"_s);
    const QString picturePath = m_dir.filePath(u"picture.png"_s);
    QVERIFY(writeFile(picturePath, encodedImage({300, 200}, "PNG")));
    QVERIFY(writeFile(apps + u"org.example.Editor.desktop"_s,
                      "[Desktop Entry]\nName=Editor\nIcon=vantrel-editor\n"));
    QVERIFY(writeFile(apps + u"org.example.Small.desktop"_s,
                      "[Desktop Entry]\nName=Small\nIcon=vantrel-small\n"));
    QVERIFY(writeFile(apps + u"org.example.Pictured.desktop"_s,
                      "[Desktop Entry]\nName=Pictured\nIcon=" + picturePath.toUtf8() + "\n"));
    QVERIFY(writeFile(apps + u"org.example.Unthemed.desktop"_s,
                      "[Desktop Entry]\nName=Unthemed\nIcon=no-such-icon\n"));
    // The system data folders stay in the search path: the MIME database lives there.
    qputenv("XDG_DATA_HOME", m_dir.filePath(u"data"_s).toUtf8());

    QVERIFY(!picture(ContentIcons::missingFile()).isNull());
    QVERIFY(picture(ContentIcons::missingFile()) != picture(ContentIcons::missingApp()));
}

void TestPBContent::typeNumbersMapToClasses_data()
{
    QTest::addColumn<qint64>("number");
    QTest::addColumn<bool>("known");

    QTest::newRow("text") << qint64(PBContentTypeText) << true;
    QTest::newRow("file") << qint64(PBContentTypeFile) << true;
    QTest::newRow("image") << qint64(PBContentTypeImage) << true;
    QTest::newRow("url") << qint64(PBContentTypeURL) << true;
    QTest::newRow("negative") << qint64(-1) << false;
    QTest::newRow("past the last") << qint64(4) << false;
}

void TestPBContent::typeNumbersMapToClasses()
{
    QFETCH(qint64, number);
    QFETCH(bool, known);
    const PBContentPtr item = PBContent::withType(number);
    QCOMPARE(bool(item), known);
    if (known)
        QCOMPARE(qint64(item->type()), number);
}

void TestPBContent::payloadsLoadOnceFromFilesSkippingUnreadable()
{
    const QString a = m_dir.filePath(u"payloads/a"_s);
    const QString b = m_dir.filePath(u"payloads/b"_s);
    QVERIFY(writeFile(a, "first"));
    QVERIFY(writeFile(b, "third"));
    const FileReader reader;
    const PBContentPtr item = PBContent::withType(PBContentTypeText);
    QVERIFY(!item->dataArray());

    item->setPayloadReader(&reader);
    item->setDataPathArray(QStringList{a, m_dir.filePath(u"payloads/missing"_s), b});
    const QList<QByteArray> expected{"first", "third"};
    QCOMPARE(*item->dataArray(), expected);
    QVERIFY(QFile::remove(a));
    QCOMPARE(*item->dataArray(), expected);
}

void TestPBContent::storedPathsAreCutOnlyAfterTheItemsFiles_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QStringList>("names"); // "U" stands for the uuid

    QTest::newRow("plain folder") << u"/home/a/data"_s << QStringList{u"U.rtf"_s, u"U 2.data"_s};
    QTest::newRow("folder holding |")
        << u"/home/a|b/data"_s << QStringList{u"U.html"_s, u"U 2.data"_s, u"U 3.data"_s};
    QTest::newRow("folder holding |/") << u"/home/x|/y|"_s << QStringList{u"U.txt"_s};
}

void TestPBContent::storedPathsAreCutOnlyAfterTheItemsFiles()
{
    QFETCH(QString, folder);
    QFETCH(QStringList, names);
    const PBContentPtr item = PBContent::createInstance<PBTextContent>();
    QStringList paths;
    for (const QString& name : std::as_const(names))
        paths.append(folder + u'/' + QString(name).replace(u"U"_s, item->uuid()));
    item->setJoinedDataPaths(paths.join(u'|').toUtf8());
    QCOMPARE(*item->dataPathArray(), paths);
}

void TestPBContent::copyBackPairsEachTypeWithItsOwnPayload_data()
{
    QTest::addColumn<QList<bool>>("present"); // which of the html, text and rtf files are there
    QTest::addColumn<QStringList>("types");
    QTest::addColumn<QList<QByteArray>>("payloads");

    QTest::newRow("html gone") << QList<bool>{false, true, true} << QStringList{T::string, T::rtf}
                               << QList<QByteArray>{"x", "{\\rtf1 x}"};
    QTest::newRow("text gone") << QList<bool>{true, false, true} << QStringList{T::html, T::rtf}
                               << QList<QByteArray>{"<b>x</b>", "{\\rtf1 x}"};
    QTest::newRow("all gone") << QList<bool>{false, false, false} << QStringList{}
                              << QList<QByteArray>{};
}

void TestPBContent::copyBackPairsEachTypeWithItsOwnPayload()
{
    QFETCH(QList<bool>, present);
    QFETCH(QStringList, types);
    QFETCH(QList<QByteArray>, payloads);
    const QList<QByteArray> all{"<b>x</b>", "x", "{\\rtf1 x}"};
    const PBContentPtr item = PBContent::createInstance<PBTextContent>();
    item->setPasteboardTypes({T::html, T::string, T::rtf});
    QStringList paths;
    for (qsizetype i = 0; i < all.size(); ++i) {
        paths.append(m_dir.filePath(u"copy-back/%1 %2.data"_s.arg(item->uuid()).arg(i + 1)));
        if (present[i])
            QVERIFY(writeFile(paths.last(), all[i]));
    }
    const FileReader reader;
    item->setPayloadReader(&reader);
    item->setDataPathArray(paths);

    const PBContent::TypedPayloads typed = item->readTypedPayloads();
    QCOMPARE(typed.types, types);
    QCOMPARE(typed.payloads, payloads);
}

void TestPBContent::displaySizeIsFirstRepresentationWiderThan128_data()
{
    QTest::addColumn<QList<QSize>>("representations");
    QTest::addColumn<QSize>("size");

    QTest::newRow("64 then 256") << QList<QSize>{{64, 64}, {256, 256}} << QSize(256, 256);
    QTest::newRow("first wide one wins")
        << QList<QSize>{{32, 32}, {200, 100}, {512, 512}} << QSize(200, 100);
    QTest::newRow("128 is not wider") << QList<QSize>{{64, 64}, {128, 128}} << QSize(128, 128);
    QTest::newRow("129 is") << QList<QSize>{{129, 40}} << QSize(129, 40);
    QTest::newRow("none") << QList<QSize>{} << QSize(128, 128);
    QTest::newRow("zero width first") << QList<QSize>{{0, 0}, {256, 256}} << QSize(128, 128);
}

void TestPBContent::displaySizeIsFirstRepresentationWiderThan128()
{
    QFETCH(QList<QSize>, representations);
    QFETCH(QSize, size);
    QCOMPARE(PBContent::getBiggestImage(representations), size);
}

void TestPBContent::textDescriptionIsTrimmedKeyword_data()
{
    QTest::addColumn<qint64>("type");
    QTest::addColumn<QString>("keyword");
    QTest::addColumn<QString>("desc");

    QTest::newRow("three blank lines") << qint64(PBContentTypeText) << u"\n\n\n"_s << u""_s;
    QTest::newRow("padded text") << qint64(PBContentTypeText) << u" \t hello world \r\n"_s
                                 << u"hello world"_s;
    QTest::newRow("inner breaks kept") << qint64(PBContentTypeText) << u"a\nb\n"_s << u"a\nb"_s;
    QTest::newRow("url") << qint64(PBContentTypeURL) << u"  https://example.com\n"_s
                         << u"https://example.com"_s;
}

void TestPBContent::textDescriptionIsTrimmedKeyword()
{
    QFETCH(qint64, type);
    QFETCH(QString, keyword);
    QFETCH(QString, desc);
    const PBContentPtr item = makeItem(type, {T::string}, {keyword.toUtf8()});
    item->setKeyword(keyword);
    QCOMPARE(item->desc(), desc);
    QCOMPARE(item->contentExtension().desc, desc);
}

void TestPBContent::imageDescriptionGivesSizeAndByteCount()
{
    QByteArray png = encodedImage({640, 480}, "PNG");
    png.append(QByteArray(20000 - png.size(), '\0'));
    const PBContentPtr item = makeItem(PBContentTypeImage, {T::png, T::tiff}, {png, "more"});

    QCOMPARE(item->iconSize(), QSize(640, 480));
    QCOMPARE(item->desc(), u"640×480 \n19 KB"_s);
}

void TestPBContent::unreadableImageShowsFallbackIcon()
{
    const PBContentPtr item = makeItem(PBContentTypeImage, {T::pdf}, {"%PDF-1.4 not really"});
    QCOMPARE(picture(item->icon()), picture(ContentIcons::missingFile()));
    QCOMPARE(item->desc(), u"128×128 \n19 B"_s);
}

void TestPBContent::pdfImageShowsItsFirstPageAtItsSize()
{
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setPageSize(QPageSize(QSizeF(300, 200), QPageSize::Point));
        writer.setPageMargins({});
        QPainter painter(&writer);
        painter.fillRect(QRect(0, 0, writer.width(), writer.height()), Qt::darkCyan);
        writer.newPage();
    }
    const PBContentPtr item = makeItem(PBContentTypeImage, {T::pdf}, {pdf.data()});

    QCOMPARE(item->iconSize(), QSize(300, 200));
    QVERIFY(item->desc().startsWith(u"300×200 \n"_s));
    const QImage shown = picture(item->icon());
    QVERIFY(shown != picture(ContentIcons::missingFile()));
    QCOMPARE(shown.pixelColor(shown.rect().center()), QColor(Qt::darkCyan));
}

void TestPBContent::filePathIsDecodedAddress_data()
{
    QTest::addColumn<QByteArray>("address");
    QTest::addColumn<QString>("path"); // null: absent
    QTest::addColumn<QString>("desc");

    QTest::newRow("escaped blank")
        << "file:///tmp/a%20b.txt"_ba << u"/tmp/a b.txt"_s << u"a b.txt"_s;
    QTest::newRow("escaped UTF-8")
        << "file:///tmp/%E2%82%AC.txt"_ba << u"/tmp/€.txt"_s << u"€.txt"_s;
    QTest::newRow("plain path") << "file:///home/x"_ba << u"/home/x"_s << u"x"_s;
    QTest::newRow("folder address ending in a slash")
        << "file:///home/x/Photos/"_ba << u"/home/x/Photos/"_s << u"Photos"_s;
    QTest::newRow("three files: the first, and 2 more")
        << "file:///tmp/a%20b.txt\nfile:///tmp/c\nfile:///tmp/d"_ba << u"/tmp/a b.txt"_s
        << u"a b.txt and 2 more"_s;
    QTest::newRow("bad escape") << "file:///tmp/a%zz"_ba << QString() << u""_s;
    QTest::newRow("not UTF-8") << "file:///tmp/\xff"_ba << QString() << u""_s;
}

void TestPBContent::filePathIsDecodedAddress()
{
    QFETCH(QByteArray, address);
    QFETCH(QString, path);
    QFETCH(QString, desc);
    const auto item = makeFileItem(address);
    QCOMPARE(item->filePath(), path);
    QCOMPARE(item->filePath().isNull(), path.isNull());
    QCOMPARE(item->desc(), desc);
    if (path.isNull())
        QCOMPARE(picture(item->icon()), picture(ContentIcons::missingFile()));
}

void TestPBContent::previewAddressDependsOnKind()
{
    const QStringList paths{u"/store/A.html"_s, u"/store/A 2.data"_s};
    for (qint64 type : {PBContentTypeText, PBContentTypeImage, PBContentTypeURL}) {
        const PBContentPtr item = PBContent::withType(type);
        QVERIFY(!item->previewItemURL());
        item->setDataPathArray(paths);
        const auto expected = type == PBContentTypeURL
                                  ? std::nullopt
                                  : std::optional<QUrl>(QUrl::fromLocalFile(paths.first()));
        QCOMPARE(item->previewItemURL(), expected);
    }
    QCOMPARE(makeFileItem("file:///tmp/a%20b.txt")->previewItemURL(),
             std::optional<QUrl>(QUrl::fromLocalFile(u"/tmp/a b.txt"_s)));
    QCOMPARE(makeFileItem("file:///tmp/%zz")->previewItemURL(), std::nullopt);
}

void TestPBContent::applicationIconComesFromDesktopEntry_data()
{
    QTest::addColumn<QString>("app");
    QTest::addColumn<QString>("themeName"); // empty: not a theme icon
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("fallback"); // "app", "file" or empty

    QTest::newRow("theme icon") << u"org.example.Editor"_s << u"vantrel-editor"_s << QSize(256, 256)
                                << QString();
    QTest::newRow("small theme icon")
        << u"org.example.Small"_s << u"vantrel-small"_s << QSize(128, 128) << QString();
    QTest::newRow("icon file") << u"org.example.Pictured"_s << QString() << QSize(300, 200)
                               << QString();
    QTest::newRow("icon not in theme")
        << u"org.example.Unthemed"_s << QString() << QSize(128, 128) << u"app"_s;
    QTest::newRow("unknown application")
        << u"org.example.Missing"_s << QString() << QSize(128, 128) << u"app"_s;
    QTest::newRow("empty application") << u""_s << QString() << QSize(128, 128) << u"app"_s;
    QTest::newRow("no application") << QString() << QString() << QSize(128, 128) << u"file"_s;
}

void TestPBContent::applicationIconComesFromDesktopEntry()
{
    QFETCH(QString, app);
    QFETCH(QString, themeName);
    QFETCH(QSize, size);
    QFETCH(QString, fallback);
    for (qint64 type : {PBContentTypeText, PBContentTypeURL}) {
        const PBContentPtr item = makeItem(type, {T::string}, {"x"});
        item->setApp(app);
        QCOMPARE(item->icon().name(), themeName);
        QCOMPARE(item->iconSize(), size);
        if (fallback == u"app"_s)
            QCOMPARE(picture(item->icon()), picture(ContentIcons::missingApp()));
        else if (fallback == u"file"_s)
            QCOMPARE(picture(item->icon()), picture(ContentIcons::missingFile()));
        else
            QVERIFY(!item->icon().isNull());
    }
}

void TestPBContent::fileIconFollowsWhatIsAtThePath_data()
{
    QTest::addColumn<QString>("relativePath");
    QTest::addColumn<QString>("kind");      // what to put at the path: "folder", "file" or nothing
    QTest::addColumn<QString>("themeName"); // empty: the fallback picture

    QTest::newRow("folder") << u"files/folder"_s << u"folder"_s << u"folder"_s;
    QTest::newRow("folder with a file extension")
        << u"files/Tool.app"_s << u"folder"_s << u"folder"_s;
    QTest::newRow("text file") << u"files/notes.txt"_s << u"file"_s << u"text-plain"_s;
    QTest::newRow("unknown kind") << u"files/blob.vantrelunknown"_s << u"file"_s
                                  << u"application-x-generic"_s;
    QTest::newRow("deleted file") << u"files/gone.txt"_s << QString() << QString();
}

void TestPBContent::fileIconFollowsWhatIsAtThePath()
{
    QFETCH(QString, relativePath);
    QFETCH(QString, kind);
    QFETCH(QString, themeName);
    const QString path = m_dir.filePath(relativePath);
    if (kind == u"folder"_s)
        QVERIFY(QDir().mkpath(path));
    else if (kind == u"file"_s)
        QVERIFY(writeFile(path, "x"));

    const auto item = makeFileItem(QUrl::fromLocalFile(path).toEncoded());
    QCOMPARE(item->filePath(), path);
    QCOMPARE(item->icon().name(), themeName);
    if (themeName.isEmpty())
        QCOMPARE(picture(item->icon()), picture(ContentIcons::missingFile()));
    else
        QCOMPARE(item->iconSize(), QSize(128, 128));
}

void TestPBContent::summaryTakesTrimmedKeywordAndKeepsItsValues()
{
    const auto item = makeFileItem("file:///tmp/a%20b.txt");
    item->setKeyword(u" file:///tmp/a b.txt\n"_s);
    item->setApp(u"org.example.Files"_s);
    item->marked = true;

    const PBContent_Extension summary = item->contentExtension();
    QCOMPARE(summary.uuid, item->uuid());
    QCOMPARE(summary.date, item->date);
    QCOMPARE(summary.app, item->app());
    QCOMPARE(summary.desc, u"file:///tmp/a b.txt"_s);
    QVERIFY(summary.marked);

    item->setKeyword(u"changed"_s);
    item->marked = false;
    QCOMPARE(item->contentExtension().desc, u"file:///tmp/a b.txt"_s);
    QVERIFY(!item->contentExtension().marked);
}

void TestPBContent::summaryDescriptionIsCutToItsLimit_data()
{
    QTest::addColumn<QString>("keyword");
    QTest::addColumn<QString>("desc");
    constexpr qsizetype limit = PBContent::summaryDescLimit;
    const QString a(limit, u'a');
    const QString face = u"\U0001F600"_s;

    QTest::newRow("longer") << a + u"bcd"_s << a;
    QTest::newRow("blanks around do not count") << u"  \n"_s + a + u"  "_s << a;
    QTest::newRow("character across the limit") << a.left(limit - 1) + face << a.left(limit - 1);
}

void TestPBContent::summaryDescriptionIsCutToItsLimit()
{
    QFETCH(QString, keyword);
    QFETCH(QString, desc);
    const PBContentPtr item = makeItem(PBContentTypeText, {T::string}, {keyword.toUtf8()});
    item->setKeyword(keyword);
    QCOMPARE(item->contentExtension().desc, desc);
}

void TestPBContent::summarySurvivesJsonRoundTrip_data()
{
    QTest::addColumn<QString>("app");
    QTest::addColumn<bool>("marked");

    QTest::newRow("with application, marked") << u"org.example.Editor"_s << true;
    QTest::newRow("empty application") << u""_s << false;
    QTest::newRow("no application") << QString() << false;
}

void TestPBContent::summarySurvivesJsonRoundTrip()
{
    QFETCH(QString, app);
    QFETCH(bool, marked);
    PBContent_Extension summary;
    summary.uuid = u"0F6B2C1E-3D4A-4B5C-8D9E-0A1B2C3D4E5F"_s;
    summary.date = 1733650000.123456;
    summary.app = app;
    summary.desc = u"héllo \"quoted\"\n"_s;
    summary.marked = marked;

    const QByteArray json = QJsonDocument(summary.toJson()).toJson(QJsonDocument::Compact);
    const auto back = PBContent_Extension::fromJson(QJsonDocument::fromJson(json).object());

    QVERIFY(back);
    QCOMPARE(back->uuid, summary.uuid);
    QCOMPARE(back->date, summary.date);
    QCOMPARE(back->app, summary.app);
    QCOMPARE(back->app.isNull(), summary.app.isNull());
    QCOMPARE(back->desc, summary.desc);
    QCOMPARE(back->marked, summary.marked);
}

void TestPBContent::malformedSummaryIsRefused_data()
{
    QTest::addColumn<QByteArray>("json");

    QTest::newRow("empty object") << "{}"_ba;
    QTest::newRow("uuid missing") << R"({"date":1,"app":"a","desc":"d","marked":false})"_ba;
    QTest::newRow("uuid a number")
        << R"({"uuid":7,"date":1,"app":"a","desc":"d","marked":false})"_ba;
    QTest::newRow("date a string")
        << R"({"uuid":"U","date":"1","app":"a","desc":"d","marked":false})"_ba;
    QTest::newRow("app missing") << R"({"uuid":"U","date":1,"desc":"d","marked":false})"_ba;
    QTest::newRow("app an array")
        << R"({"uuid":"U","date":1,"app":[],"desc":"d","marked":false})"_ba;
    QTest::newRow("desc null")
        << R"({"uuid":"U","date":1,"app":"a","desc":null,"marked":false})"_ba;
    QTest::newRow("marked a number")
        << R"({"uuid":"U","date":1,"app":"a","desc":"d","marked":1})"_ba;
}

void TestPBContent::malformedSummaryIsRefused()
{
    QFETCH(QByteArray, json);
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    QCOMPARE(error.error, QJsonParseError::NoError);
    QVERIFY(!PBContent_Extension::fromJson(document.object()));
}

void TestPBContent::summaryIconFollowsSourceApplication()
{
    PBContent_Extension withApp;
    withApp.app = u"org.example.Editor"_s;
    QCOMPARE(withApp.icon().name(), u"vantrel-editor"_s);

    PBContent_Extension unknownApp;
    unknownApp.app = u"org.example.Missing"_s;
    QCOMPARE(picture(unknownApp.icon()), picture(ContentIcons::missingApp()));

    PBContent_Extension noApp;
    QCOMPARE(picture(noApp.icon()), picture(ContentIcons::missingFile()));
}

QTEST_MAIN(TestPBContent)
#include "tst_pbcontent.moc"
