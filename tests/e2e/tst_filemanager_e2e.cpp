#include "item/PBFileContent.h"
#include "platform/PasteboardTypes.h"
#include "platform/xdg/FileManagerDBus.h"
#include "shell/Utils.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

using namespace Qt::StringLiterals;

namespace {
const QString service = u"org.freedesktop.FileManager1"_s;
const QString objectPath = u"/org/freedesktop/FileManager1"_s;
} // namespace

// A file manager on its own bus connection, as a separate process would be.
class FakeFileManager : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")

public:
    bool refuse = false;
    QList<QStringList> shown;

public slots:
    void ShowItems(const QStringList& uris, const QString& startupId)
    {
        Q_UNUSED(startupId)
        shown.append(uris);
        if (refuse)
            sendErrorReply(QDBusError::Failed, u"cannot show"_s);
    }
};

// Stands in for the desktop's opener of file: URLs (the fallback).
class FolderOpener : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> opened;

public slots:
    void open(const QUrl& url) { opened.append(url); }
};

class TestFileManagerE2E : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void openingAFileItemShowsItInTheFileManager();
    void theFolderOpensWhenTheFileManagerFails_data();
    void theFolderOpensWhenTheFileManagerFails();

private:
    void registerFileManager();
    PBContentPtr fileItem() const;

    QTemporaryDir m_dir;
    QString m_file;
    FolderOpener m_opener;
    std::unique_ptr<FakeFileManager> m_fileManager;
    QDBusConnection m_fileManagerBus{u""_s};
};

void TestFileManagerE2E::initTestCase()
{
    QVERIFY(QDBusConnection::sessionBus().isConnected());
    QVERIFY(m_dir.isValid());
    QVERIFY(QDir().mkpath(m_dir.filePath(u"a folder"_s)));
    m_file = m_dir.filePath(u"a folder/r\u00e9sum\u00e9 #1.txt"_s);
    QFile file(m_file);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QDesktopServices::setUrlHandler(u"file"_s, &m_opener, "open");
}

void TestFileManagerE2E::init()
{
    m_opener.opened.clear();
    m_fileManager = std::make_unique<FakeFileManager>();
}

void TestFileManagerE2E::cleanup()
{
    if (m_fileManagerBus.isConnected()) {
        m_fileManagerBus.unregisterObject(objectPath);
        m_fileManagerBus.unregisterService(service);
        QDBusConnection::disconnectFromBus(m_fileManagerBus.name());
        m_fileManagerBus = QDBusConnection(u""_s);
    }
}

void TestFileManagerE2E::registerFileManager()
{
    m_fileManagerBus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, u"fake-fm"_s);
    QVERIFY(m_fileManagerBus.isConnected());
    QVERIFY(m_fileManagerBus.registerObject(objectPath, m_fileManager.get(),
                                            QDBusConnection::ExportAllSlots));
    QVERIFY(m_fileManagerBus.registerService(service));
}

PBContentPtr TestFileManagerE2E::fileItem() const
{
    auto item = PBContent::createInstance<PBFileContent>();
    item->setPasteboardTypes({PasteboardTypes::fileUrl});
    item->setDataArray({QUrl::fromLocalFile(m_file).toEncoded()});
    return item;
}

void TestFileManagerE2E::openingAFileItemShowsItInTheFileManager()
{
    registerFileManager();
    Utils::openContent(fileItem());
    QTRY_COMPARE(m_fileManager->shown.size(), 1);
    const QStringList uris = m_fileManager->shown.first();
    QCOMPARE(uris.size(), 1);
    // A URI, percent-encoded: spaces, "#" and non-ASCII letters do not pass through raw.
    QVERIFY2(uris[0].startsWith(u"file:///"_s), qPrintable(uris[0]));
    QVERIFY2(uris[0].endsWith(u"/a%20folder/r%C3%A9sum%C3%A9%20%231.txt"_s), qPrintable(uris[0]));
    QCOMPARE(QUrl(uris[0]).toLocalFile(), m_file);

    // Replies come back in order: once a second call is answered, the first one's answer has
    // been handled too, and it must not have opened the folder as well.
    std::optional<bool> shown;
    FileManagerDBus::showItem(m_file, this, [&shown](bool ok) { shown = ok; });
    QTRY_VERIFY(shown);
    QVERIFY(*shown);
    QCOMPARE(m_opener.opened, QList<QUrl>());
}

void TestFileManagerE2E::theFolderOpensWhenTheFileManagerFails_data()
{
    QTest::addColumn<bool>("present");

    QTest::newRow("no file manager on the bus") << false;
    QTest::newRow("file manager answers with an error") << true;
}

void TestFileManagerE2E::theFolderOpensWhenTheFileManagerFails()
{
    QFETCH(bool, present);

    if (present) {
        m_fileManager->refuse = true;
        registerFileManager();
    } else {
        QVERIFY(!QDBusConnection::sessionBus().interface()->isServiceRegistered(service));
    }
    Utils::openContent(fileItem());
    QTRY_COMPARE(m_opener.opened, QList<QUrl>{QUrl::fromLocalFile(m_dir.filePath(u"a folder"_s))});
    QCOMPARE(m_fileManager->shown.size(), present ? 1 : 0);
}

QTEST_MAIN(TestFileManagerE2E)
#include "tst_filemanager_e2e.moc"
