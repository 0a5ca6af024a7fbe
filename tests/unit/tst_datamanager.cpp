#include "item/PBTextContent.h"
#include "platform/PasteboardTypes.h"
#include "storage/DataManager.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
namespace T = PasteboardTypes;

namespace {
std::shared_ptr<PBTextContent> makeItem(const QStringList& types, const QList<QByteArray>& payloads)
{
    auto item = PBContent::createInstance<PBTextContent>();
    item->setPasteboardTypes(types);
    item->setDataArray(payloads);
    return item;
}

QStringList fileNames(const QStringList& paths)
{
    QStringList names;
    for (const QString& path : paths)
        names.append(QFileInfo(path).fileName());
    return names;
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}
} // namespace

class TestDataManager : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void payloadFilesAreNamedByUuidNumberAndFirstType_data();
    void payloadFilesAreNamedByUuidNumberAndFirstType();
    void extensionFollowsFirstTypeEvenWhenItGaveNoBytes();
    void filesArePrivateAndFoldersCreatedPrivate();
    void savingTwiceOverwritesTheSameFiles();
    void itemWithoutPayloadsWritesNothing();
    void failedWriteIsReportedAndLeavesNoFiles();
    void uuidThatIsNotAFileNameIsRefused();
    void readingGivesBytesOrNothing();
    void deletionRemovesOnlyFilesInThePayloadFolder();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_folder;
};

void TestDataManager::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_folder = m_dir->filePath(u"data"_s);
}

void TestDataManager::payloadFilesAreNamedByUuidNumberAndFirstType_data()
{
    QTest::addColumn<QStringList>("types");
    QTest::addColumn<int>("payloadCount");
    QTest::addColumn<QStringList>("suffixes"); // appended to the uuid

    QTest::newRow("rtf, text, html") << QStringList{T::rtf, T::string, T::html} << 3
                                     << QStringList{u".rtf"_s, u" 2.data"_s, u" 3.data"_s};
    QTest::newRow("rtfd") << QStringList{T::rtfd} << 1 << QStringList{u".rtf"_s};
    QTest::newRow("html") << QStringList{T::html} << 1 << QStringList{u".html"_s};
    QTest::newRow("plain text") << QStringList{T::string} << 1 << QStringList{u".txt"_s};
    QTest::newRow("file address") << QStringList{T::fileUrl} << 1 << QStringList{u".txt"_s};
    QTest::newRow("url") << QStringList{T::url} << 1 << QStringList{u".txt"_s};
    QTest::newRow("pdf") << QStringList{T::pdf} << 1 << QStringList{u".pdf"_s};
    QTest::newRow("png, tiff") << QStringList{T::png, T::tiff} << 2
                               << QStringList{u".png"_s, u" 2.data"_s};
    QTest::newRow("tiff") << QStringList{T::tiff} << 1 << QStringList{u".tiff"_s};
    QTest::newRow("unknown first type")
        << QStringList{u"public.jpeg"_s, T::png} << 2 << QStringList{u".data"_s, u" 2.data"_s};
    QTest::newRow("no types") << QStringList{} << 1 << QStringList{u".data"_s};
}

void TestDataManager::payloadFilesAreNamedByUuidNumberAndFirstType()
{
    QFETCH(QStringList, types);
    QFETCH(int, payloadCount);
    QFETCH(QStringList, suffixes);
    QList<QByteArray> payloads;
    for (int i = 0; i < payloadCount; ++i)
        payloads.append("payload " + QByteArray::number(i));
    const auto item = makeItem(types, payloads);

    const auto paths = DataManager(m_folder).saveDataOfContent(*item);

    QVERIFY(paths);
    QCOMPARE(paths->size(), payloadCount);
    for (int i = 0; i < payloadCount; ++i) {
        QCOMPARE(paths->at(i), m_folder + u'/' + item->uuid() + suffixes.at(i));
        QCOMPARE(DataManager::dataWithPath(paths->at(i)), payloads.at(i));
    }
}

void TestDataManager::extensionFollowsFirstTypeEvenWhenItGaveNoBytes()
{
    // The html type gave nothing, so the first payload holds the plain text.
    const auto item = makeItem({T::html, T::string}, {"plain"});
    const auto paths = DataManager(m_folder).saveDataOfContent(*item);
    QVERIFY(paths);
    QCOMPARE(fileNames(*paths), QStringList{item->uuid() + u".html"_s});
}

void TestDataManager::filesArePrivateAndFoldersCreatedPrivate()
{
    const QString folder = m_dir->filePath(u"new/nested/data"_s);
    const auto item = makeItem({T::string, T::html}, {"secret", "<b>secret</b>"});

    const auto paths = DataManager(folder).saveDataOfContent(*item);

    QVERIFY(paths);
    const auto privateFile =
        QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser;
    for (const QString& path : *paths)
        QCOMPARE(QFile::permissions(path), privateFile);
    const auto privateFolder = privateFile | QFile::ExeOwner | QFile::ExeUser;
    for (const QString& created : {u"new"_s, u"new/nested"_s, u"new/nested/data"_s})
        QCOMPARE(QFile::permissions(m_dir->filePath(created)), privateFolder);
    // Nothing but the payloads is left in the folder (no temporary files).
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

void TestDataManager::savingTwiceOverwritesTheSameFiles()
{
    const DataManager manager(m_folder);
    auto item = makeItem({T::string}, {"first"});
    const auto first = manager.saveDataOfContent(*item);
    item->setDataArray({"second"});
    const auto second = manager.saveDataOfContent(*item);

    QVERIFY(first && second);
    QCOMPARE(*second, *first);
    QCOMPARE(DataManager::dataWithPath(first->first()), QByteArray("second"));
    QCOMPARE(QDir(m_folder).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

void TestDataManager::itemWithoutPayloadsWritesNothing()
{
    const auto item = makeItem({T::string}, {});
    const auto paths = DataManager(m_folder).saveDataOfContent(*item);
    QVERIFY(paths);
    QVERIFY(paths->isEmpty());
    QVERIFY(QDir(m_folder).isEmpty());
}

void TestDataManager::failedWriteIsReportedAndLeavesNoFiles()
{
    const auto item = makeItem({T::rtf, T::string, T::html}, {"a", "b", "c"});
    // A folder where the second payload file belongs makes its write fail, even for root.
    QVERIFY(QDir().mkpath(m_folder + u'/' + item->uuid() + u" 2.data"_s));

    const auto paths = DataManager(m_folder).saveDataOfContent(*item);

    QVERIFY(!paths);
    QVERIFY(!QFileInfo::exists(m_folder + u'/' + item->uuid() + u".rtf"_s));
    QVERIFY(!QFileInfo::exists(m_folder + u'/' + item->uuid() + u" 3.data"_s));
}

void TestDataManager::uuidThatIsNotAFileNameIsRefused()
{
    const auto item = makeItem({T::string}, {"x"});
    item->setUuid(u"../escaped"_s);
    QVERIFY(!DataManager(m_folder).saveDataOfContent(*item));
    QVERIFY(!QFileInfo::exists(m_dir->filePath(u"escaped.txt"_s)));
}

void TestDataManager::readingGivesBytesOrNothing()
{
    QVERIFY(!DataManager::dataWithPath(m_dir->filePath(u"missing"_s)));
    QVERIFY(!DataManager::dataWithPath(m_dir->path()));
    const QString empty = m_dir->filePath(u"empty"_s);
    QVERIFY(writeFile(empty, {}));
    const auto bytes = DataManager::dataWithPath(empty);
    QVERIFY(bytes);
    QVERIFY(bytes->isEmpty());
}

void TestDataManager::deletionRemovesOnlyFilesInThePayloadFolder()
{
    const DataManager manager(m_folder);
    const auto item = makeItem({T::string, T::html}, {"a", "b"});
    const auto paths = manager.saveDataOfContent(*item);
    QVERIFY(paths);
    const QString outside = m_dir->filePath(u"outside.txt"_s);
    const QString link = m_folder + u"/link.txt"_s;
    // A folder whose name starts with the payload folder's name, and one inside it.
    const QString sibling = m_folder + u"-old/x.txt"_s;
    const QString nested = m_folder + u"/sub/x.txt"_s;
    QVERIFY(writeFile(outside, "keep"));
    QVERIFY(QFile::link(outside, link));
    for (const QString& path : {sibling, nested}) {
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        QVERIFY(writeFile(path, "keep"));
    }

    item->setDataPathArray(QStringList{paths->at(0), outside, m_folder + u"/../outside.txt"_s,
                                       u"outside.txt"_s, m_folder + u"/already-gone.txt"_s, link,
                                       sibling, nested, paths->at(1)});
    QDir::setCurrent(m_dir->path());
    manager.deleteDataOfContent(*item);

    QVERIFY(!QFileInfo::exists(paths->at(0)));
    QVERIFY(!QFileInfo::exists(paths->at(1)));
    QVERIFY(!QFileInfo(link).isSymLink());
    for (const QString& kept : {outside, sibling, nested})
        QCOMPARE(DataManager::dataWithPath(kept), QByteArray("keep"));
    QVERIFY(QFileInfo(m_folder).isDir());
}

QTEST_GUILESS_MAIN(TestDataManager)
#include "tst_datamanager.moc"
