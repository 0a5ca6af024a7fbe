#include "StoreFixture.h"
#include "browser/HistoryListModel.h"
#include "browser/RowArtwork.h"
#include "browser/RowArtworkCache.h"
#include "item/PBFileContent.h"
#include "platform/MimeTypeMapping.h"
#include "recording/PBContentParser.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {
using Formats = QList<std::pair<QString, QByteArray>>;

// The clipboard owner's formats, read as the X11 reader reads them.
QList<PasteboardItem> itemsOffered(const Formats& formats)
{
    QStringList names;
    for (const auto& format : formats)
        names.append(format.first);
    return MimeTypeMapping::itemsFromFormats(
        names, [&formats](const QString& name) -> std::optional<QByteArray> {
            for (const auto& [format, bytes] : formats) {
                if (format == name)
                    return bytes;
            }
            return std::nullopt;
        });
}
} // namespace

// A file copied in a file manager, from the owner's formats to the row a list shows and the
// search that finds it.
class TestFileItems : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void fileCopyIsOneItemWhoseRowIsNamedAndFound_data();
    void fileCopyIsOneItemWhoseRowIsNamedAndFound();

private:
    QByteArray uriOf(const QString& name) const
    {
        return QUrl::fromLocalFile(m_files.filePath(name)).toEncoded();
    }
    QByteArray pathOf(const QString& name) const { return m_files.filePath(name).toUtf8(); }

    QTemporaryDir m_files;
};

void TestFileItems::initTestCase()
{
    QVERIFY(m_files.isValid());
    for (const char* name : {"Quarterly report.pdf", "notes #2.txt", "b.txt"})
        QVERIFY(QFile(m_files.filePath(QString::fromUtf8(name))).open(QIODevice::WriteOnly));
    QVERIFY(QDir(m_files.path()).mkdir(u"Holiday Photos"_s));
}

void TestFileItems::fileCopyIsOneItemWhoseRowIsNamedAndFound_data()
{
    QTest::addColumn<Formats>("formats");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("iconName"); // empty: the missing-file picture
    QTest::addColumn<QString>("searchedFor");

    const QString report = u"Quarterly report.pdf"_s;
    const QString notes = u"notes #2.txt"_s;
    QTest::newRow("an existing file") << Formats{{u"text/uri-list"_s, uriOf(report) + "\r\n"}}
                                      << report << u"application-pdf"_s << u"report"_s;
    QTest::newRow("a missing file") << Formats{{u"text/uri-list"_s, uriOf(u"gone.odt"_s) + "\r\n"}}
                                    << u"gone.odt"_s << QString() << u"gone.odt"_s;
    QTest::newRow("with text/plain")
        << Formats{{u"text/uri-list"_s, uriOf(notes) + "\r\n"}, {u"text/plain"_s, pathOf(notes)}}
        << notes << u"text-plain"_s << u"notes #2"_s;
    QTest::newRow("the GNOME file list alone")
        << Formats{{u"x-special/gnome-copied-files"_s, "copy\n" + uriOf(notes)}} << notes
        << u"text-plain"_s << u"notes #2"_s;
    QTest::newRow("the GNOME file list, a uri-list and text/plain")
        << Formats{{u"x-special/gnome-copied-files"_s, "copy\n" + uriOf(report)},
                   {u"text/uri-list"_s, uriOf(report) + "\r\n"},
                   {u"text/plain"_s, pathOf(report)}}
        << report << u"application-pdf"_s << u"Quarterly"_s;
    QTest::newRow("two files are one item")
        << Formats{{u"text/uri-list"_s, uriOf(notes) + "\r\n" + uriOf(u"b.txt"_s) + "\r\n"},
                   {u"text/plain"_s, pathOf(notes) + "\n" + pathOf(u"b.txt"_s)}}
        << notes + u" and 1 more"_s << u"text-plain"_s << u"b.txt"_s;
    QTest::newRow("a folder") << Formats{{u"text/uri-list"_s, uriOf(u"Holiday Photos"_s) + "/\r\n"}}
                              << u"Holiday Photos"_s << u"folder"_s << u"Holiday Photos"_s;
}

void TestFileItems::fileCopyIsOneItemWhoseRowIsNamedAndFound()
{
    QFETCH(Formats, formats);
    QFETCH(QString, description);
    QFETCH(QString, iconName);
    QFETCH(QString, searchedFor);

    const QList<PasteboardItem> offered = itemsOffered(formats);
    QCOMPARE(offered.size(), 1);
    PBContentPtr item = PBContentParser::contentWithPasteboardItem(offered.first());
    QVERIFY(item);
    QCOMPARE(item->type(), PBContentTypeFile);
    QVERIFY2(item->keyword().contains(searchedFor), qPrintable(item->keyword()));

    StoreFixture store;
    item->setDataPathArray(store.dataManager.saveDataOfContent(*item));
    std::optional<bool> written;
    store.manager->insertPbContent(item, [&written](bool ok) { written = ok; });
    QTRY_VERIFY(written.has_value());
    QVERIFY(*written);

    // The rows read the history afresh, as after a restart: the item's files are all they have.
    store.manager.reset();
    store.manager = store.makeManager(store.folder.path());
    bool loaded = false;
    store.manager->fetchAllItems([&loaded] { loaded = true; });
    QTRY_VERIFY(loaded);
    RowArtworkCache artwork(QSize(40, 40));
    HistoryListModel files(Category::File, *store.manager, artwork);
    QAbstractItemModelTester tester(&files);
    QCOMPARE(files.rowCount(), 1);
    files.data(files.index(0), Qt::DisplayRole);
    QTRY_COMPARE(files.data(files.index(0), Qt::DisplayRole).toString(), description);
    QCOMPARE(files.artwork(files.index(0))->fileIconNames.value(0), iconName);

    HistoryListModel search(Category::Search, *store.manager, artwork);
    search.setKeyword(searchedFor);
    QTRY_COMPARE(search.rowCount(), 1);
    search.data(search.index(0), Qt::DisplayRole);
    QTRY_COMPARE(search.data(search.index(0), Qt::AccessibleTextRole).toString(), description);
}

QTEST_MAIN(TestFileItems)
#include "tst_fileitems.moc"
