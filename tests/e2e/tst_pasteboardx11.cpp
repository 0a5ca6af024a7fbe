#include "ClipOwner.h"
#include "platform/MimeTypeMapping.h"
#include "platform/PasteboardTypes.h"
#include "platform/x11/PasteboardX11.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QScopeGuard>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

using namespace Qt::StringLiterals;

using Entries = QList<std::pair<QString, QByteArray>>;
using Items = QList<Entries>;

namespace {

Entries entries(std::initializer_list<std::pair<const char*, QByteArray>> list)
{
    Entries result;
    for (const auto& [name, bytes] : list)
        result.append({QString::fromUtf8(name), bytes});
    return result;
}

Items itemsAsEntries(const QList<PasteboardItem>& items)
{
    Items result;
    for (const PasteboardItem& item : items) {
        Entries itemEntries;
        for (const QString& type : item.types())
            itemEntries.append({type, item.dataForType(type).value_or("<no data>"_ba)});
        result.append(itemEntries);
    }
    return result;
}

QStringList firstTypes(const QList<PasteboardItem>& items)
{
    return items.isEmpty() ? QStringList() : items.first().types();
}

QSet<QString> set(const QStringList& list)
{
    return {list.cbegin(), list.cend()};
}

QByteArray utf16(const QString& text)
{
    return {reinterpret_cast<const char*>(text.utf16()), text.size() * 2};
}

} // namespace

class TestPasteboardX11 : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void readingAnOwnerGivesItsMappedItems_data();
    void readingAnOwnerGivesItsMappedItems();
    void largeFormatIsReadWhole_data();
    void largeFormatIsReadWhole();
    void anOwnerReplacedMidReadGivesNothingMixed();
    void stallingOwnerHoldsNothingUpAndGivesNoItems();
    void ownerExitingIsAChangeWithNoItems();
    void writtenFormatsReadBackInOtherApplications_data();
    void writtenFormatsReadBackInOtherApplications();
    void copiesOfIgnoredApplicationsAreNeverRead_data();
    void copiesOfIgnoredApplicationsAreNeverRead();

private:
    std::unique_ptr<PasteboardX11> m_pasteboard;
    QTemporaryDir m_dataHome;
};

void TestPasteboardX11::initTestCase()
{
    // An installed application whose windows carry another class than its id.
    QVERIFY(QDir(m_dataHome.path()).mkpath(u"applications"_s));
    QFile entry(m_dataHome.filePath(u"applications/vault-desktop.desktop"_s));
    QVERIFY(entry.open(QIODevice::WriteOnly));
    entry.write("[Desktop Entry]\nType=Application\nName=Vault\nExec=vault\n"
                "StartupWMClass=VaultWin\n");
    entry.close();
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_dataHome.path()));
    QCOMPARE(QGuiApplication::platformName(), u"xcb"_s);
    m_pasteboard = std::make_unique<PasteboardX11>(QGuiApplication::clipboard());
}

void TestPasteboardX11::readingAnOwnerGivesItsMappedItems_data()
{
    QTest::addColumn<Entries>("owner");
    QTest::addColumn<Items>("expected");
    QTest::addColumn<QStringList>("requested");

    QTest::newRow("identifiers keep the owner's order")
        << entries({{"text/html", "<b>x</b>"}, {"UTF8_STRING", "x"}, {"text/plain", "x"}})
        << Items{entries({{"public.html", "<b>x</b>"}, {"public.utf8-plain-text", "x"}})}
        << QStringList{u"TARGETS"_s, u"text/html"_s, u"UTF8_STRING"_s};
    QTest::newRow("a later format for a taken identifier keeps its MIME name")
        << entries({{"text/plain;charset=utf-8", "a"},
                    {"UTF8_STRING", "a"},
                    {"application/rtf", "{\\rtf1}"},
                    {"chromium/x-source-url", "u"}})
        << Items{entries({{"public.utf8-plain-text", "a"},
                          {"text/plain", "a"},
                          {"public.rtf", "{\\rtf1}"},
                          {"chromium/x-source-url", "u"}})}
        << QStringList{u"TARGETS"_s, u"text/plain;charset=utf-8"_s, u"UTF8_STRING"_s,
                       u"application/rtf"_s, u"chromium/x-source-url"_s};
    QTest::newRow("meta targets and Qt's image are never types and never requested")
        << entries({{"COMPOUND_TEXT", "x"},
                    {"UTF8_STRING", "x"},
                    {"STRING", "x"},
                    {"application/x-qt-image", "q"},
                    {"text/plain", "x"},
                    {"DELETE", ""}})
        << Items{entries({{"public.utf8-plain-text", "x"}})}
        << QStringList{u"TARGETS"_s, u"UTF8_STRING"_s};
    QTest::newRow("a Qt image owner is read as its PNG only")
        << entries({{"application/x-qt-image", "q"},
                    {"image/png", "p"},
                    {"image/bmp", "b"},
                    {"image/jpeg", "j"},
                    {"image/ppm", "m"},
                    {"image/tiff", "t"},
                    {"image/x-xbitmap", "x"},
                    {"PIXMAP", "1234"}})
        << Items{entries({{"public.png", "p"}})} << QStringList{u"TARGETS"_s, u"image/png"_s};
    QTest::newRow("an image owner is read as its first image and its PNG")
        << entries(
               {{"image/jpeg", "j"}, {"image/bmp", "b"}, {"image/png", "p"}, {"image/tiff", "t"}})
        << Items{entries({{"image/jpeg", "j"}, {"public.png", "p"}})}
        << QStringList{u"TARGETS"_s, u"image/jpeg"_s, u"image/png"_s};
    QTest::newRow("a uri-list of two files is one file item")
        << entries({{"x-special/gnome-copied-files", "copy\nfile:///tmp/a%20b.txt\nfile:///tmp/c"},
                    {"text/uri-list", "file:///tmp/a%20b.txt\r\nfile:///tmp/c\r\n"},
                    {"UTF8_STRING", "/tmp/a b.txt\n/tmp/c"}})
        << Items{entries(
               {{"x-special/gnome-copied-files", "copy\nfile:///tmp/a%20b.txt\nfile:///tmp/c"},
                {"public.file-url", "file:///tmp/a%20b.txt\nfile:///tmp/c"},
                {"public.utf8-plain-text", "/tmp/a b.txt\n/tmp/c"}})}
        << QStringList{u"TARGETS"_s, u"x-special/gnome-copied-files"_s, u"text/uri-list"_s,
                       u"UTF8_STRING"_s};
    QTest::newRow("a Mozilla URL arrives as a uri-list without its title")
        << entries({{"text/x-moz-url", utf16(u"https://example.com/\nExample"_s)}})
        << Items{entries({{"public.url", "https://example.com/"}})}
        << QStringList{u"TARGETS"_s, u"text/x-moz-url"_s};
    QTest::newRow("a password manager's secret gives no items and is never read")
        << entries({{"UTF8_STRING", "hunter2"}, {"x-kde-passwordManagerHint", "secret"}}) << Items{}
        << QStringList{u"TARGETS"_s, u"x-kde-passwordManagerHint"_s};
    QTest::newRow("Latin-1 STRING and UTF-16 HTML arrive as UTF-8")
        << entries(
               {{"STRING", "h\xe9llo"}, {"text/html", "\xff\xfe"_ba + utf16(u"<b>\u00e9</b>"_s)}})
        << Items{entries({{"public.utf8-plain-text", u"h\u00e9llo"_s.toUtf8()},
                          {"public.html", u"<b>\u00e9</b>"_s.toUtf8()}})}
        << QStringList{u"TARGETS"_s, u"STRING"_s, u"text/html"_s};
    QTest::newRow("a zero-byte format is data")
        << entries({{"text/html", ""}, {"UTF8_STRING", "x"}})
        << Items{entries({{"public.html", ""}, {"public.utf8-plain-text", "x"}})}
        << QStringList{u"TARGETS"_s, u"text/html"_s, u"UTF8_STRING"_s};
}

void TestPasteboardX11::readingAnOwnerGivesItsMappedItems()
{
    QFETCH(Entries, owner);
    QFETCH(Items, expected);
    QFETCH(QStringList, requested);

    ClipOwner clipOwner(owner);
    QTRY_VERIFY(clipOwner.requested().contains(requested.last()));
    QTRY_COMPARE(itemsAsEntries(m_pasteboard->pasteboardItems()), expected);
    // Every request is logged before it is answered, and the change is published once all are
    // answered: nothing else (MULTIPLE, an unread image) may be in the log.
    QCOMPARE(set(clipOwner.requested()), set(requested));
}

void TestPasteboardX11::largeFormatIsReadWhole_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("in pieces") << QStringList{u"--incr-size"_s, u"65536"_s};
    // Each piece comes well within the deadline, all of them together well after it.
    QTest::newRow("in slow pieces, longer in all than the deadline")
        << QStringList{u"--incr-size"_s, u"786432"_s, u"--incr-delay"_s, u"350"_s};
}

void TestPasteboardX11::largeFormatIsReadWhole()
{
    QFETCH(QStringList, arguments);
    QByteArray image(3 * 1024 * 1024, Qt::Uninitialized);
    for (qsizetype i = 0; i < image.size(); ++i)
        image[i] = static_cast<char>((i * 7919) >> 5);

    QList<PasteboardItem> announced;
    QVERIFY(m_pasteboard->setChangeHandler([&] { announced = m_pasteboard->pasteboardItems(); }));
    const auto removeHandler = qScopeGuard([this] { m_pasteboard->setChangeHandler({}); });
    ClipOwner owner({{u"image/png"_s, image}}, arguments);
    QTRY_COMPARE(firstTypes(announced), QStringList{PasteboardTypes::png});

    QVERIFY(announced.first().dataForType(PasteboardTypes::png) == image);
    // A copy may be hundreds of megabytes: once announced, the clipboard keeps none of it.
    QVERIFY(m_pasteboard->pasteboardItems().isEmpty());
}

// A new owner while a change is being read: each change announced is one owner's whole, or
// nothing; never the formats read before the new owner came.
void TestPasteboardX11::anOwnerReplacedMidReadGivesNothingMixed()
{
    QList<Items> announced;
    QVERIFY(m_pasteboard->setChangeHandler(
        [&] { announced.append(itemsAsEntries(m_pasteboard->pasteboardItems())); }));
    const auto removeHandler = qScopeGuard([this] { m_pasteboard->setChangeHandler({}); });
    const QByteArray slowText(5 * 65536, 's');
    ClipOwner old({{u"text/html"_s, "<b>old</b>"_ba}, {u"UTF8_STRING"_s, slowText}},
                  {u"--incr-size"_s, u"65536"_s, u"--incr-delay"_s, u"500"_s});
    QTRY_VERIFY(old.requested().contains(u"UTF8_STRING"_s));
    ClipOwner replacing({{u"UTF8_STRING"_s, "new"_ba}});
    const Items replacingItems{entries({{"public.utf8-plain-text", "new"}})};
    QTRY_VERIFY(announced.contains(replacingItems));

    const Items oldItems{
        entries({{"public.html", "<b>old</b>"}, {"public.utf8-plain-text", slowText}})};
    for (const Items& items : std::as_const(announced))
        QVERIFY2(items.isEmpty() || items == oldItems || items == replacingItems,
                 "a change announced with part of an owner's formats");
}

// An owner that lists its formats and never sends them holds up nothing here: the event loop
// keeps turning while the reader waits, and the change, once given up, has no items.
void TestPasteboardX11::stallingOwnerHoldsNothingUpAndGivesNoItems()
{
    int ticks = 0;
    QTimer timer;
    connect(&timer, &QTimer::timeout, this, [&ticks] { ++ticks; });
    timer.start(10);

    ClipOwner owner({{u"text/html"_s, "<i>never</i>"_ba}, {u"UTF8_STRING"_s, "never"_ba}},
                    {u"--stall"_s});
    QTRY_VERIFY(owner.requested().contains(u"text/html"_s));
    // Changes before this one (the last owner's exit) were published before it was read.
    const qint64 countBefore = m_pasteboard->changeCount();
    const int ticksWhenStalled = ticks;
    QTRY_VERIFY_WITH_TIMEOUT(m_pasteboard->changeCount() != countBefore, 20'000);
    QVERIFY(ticks > ticksWhenStalled);
    QVERIFY(m_pasteboard->pasteboardItems().isEmpty());
}

void TestPasteboardX11::ownerExitingIsAChangeWithNoItems()
{
    ClipOwner owner({{u"UTF8_STRING"_s, "exiting owner"_ba}});
    QTRY_COMPARE(itemsAsEntries(m_pasteboard->pasteboardItems()),
                 Items{entries({{"public.utf8-plain-text", "exiting owner"}})});

    const qint64 count = m_pasteboard->changeCount();
    owner.kill();
    QTRY_VERIFY(m_pasteboard->changeCount() != count);
    QVERIFY(m_pasteboard->pasteboardItems().isEmpty());
}

void TestPasteboardX11::writtenFormatsReadBackInOtherApplications_data()
{
    QTest::addColumn<QStringList>("types");
    QTest::addColumn<QList<QByteArray>>("payloads");

    QTest::newRow("text") << QStringList{PasteboardTypes::string}
                          << QList<QByteArray>{u"héllo wörld"_s.toUtf8()};
    QTest::newRow("html and text") << QStringList{PasteboardTypes::html, PasteboardTypes::string}
                                   << QList<QByteArray>{"<p>x</p>", "x"};
    QTest::newRow("file URL") << QStringList{PasteboardTypes::fileUrl}
                              << QList<QByteArray>{"file:///tmp/a%20b.txt"};
    QTest::newRow("two file URLs") << QStringList{PasteboardTypes::fileUrl}
                                   << QList<QByteArray>{"file:///tmp/a%20b.txt\nfile:///tmp/c"};
    QTest::newRow("web URL") << QStringList{PasteboardTypes::url}
                             << QList<QByteArray>{"https://example.com/a?b=c"};
    QTest::newRow("rich text, image and an unmapped type")
        << QStringList{PasteboardTypes::rtf, PasteboardTypes::png, u"text/_moz_htmlcontext"_s}
        << QList<QByteArray>{"{\\rtf1 x}", QByteArray(200000, 'p'), "<html>"};
    QTest::newRow("a large image")
        << QStringList{PasteboardTypes::png} << QList<QByteArray>{QByteArray(20 << 20, 'p')};
}

void TestPasteboardX11::writtenFormatsReadBackInOtherApplications()
{
    QFETCH(QStringList, types);
    QFETCH(QList<QByteArray>, payloads);

    const qint64 countBefore = m_pasteboard->changeCount();
    m_pasteboard->writeItem(types, payloads);
    QTRY_VERIFY(m_pasteboard->changeCount() != countBefore);
    // This process's own write is known as such and not read back from itself.
    QVERIFY(m_pasteboard->pasteboardItems().isEmpty());

    Entries formats = MimeTypeMapping::formatsForItem(types, payloads);
    QVERIFY(!formats.isEmpty());
    // Most X11 programs ask for text as UTF8_STRING rather than by MIME type.
    for (const auto& [mime, bytes] : std::as_const(formats)) {
        if (mime == u"text/plain"_s)
            formats.append({u"UTF8_STRING"_s, bytes});
    }
    for (const auto& [mime, bytes] : std::as_const(formats)) {
        QProcess xclip;
        xclip.start(u"xclip"_s, {u"-o"_s, u"-selection"_s, u"clipboard"_s, u"-t"_s, mime});
        // This process answers xclip's requests, so its event loop must run meanwhile.
        QTRY_COMPARE(xclip.state(), QProcess::NotRunning);
        QCOMPARE(xclip.exitCode(), 0);
        QVERIFY2(xclip.readAllStandardOutput() == bytes, qPrintable(mime));
    }
}

QTEST_MAIN(TestPasteboardX11)
#include "tst_pasteboardx11.moc"

void TestPasteboardX11::copiesOfIgnoredApplicationsAreNeverRead_data()
{
    QTest::addColumn<QStringList>("ignored");
    QTest::addColumn<QStringList>("ownerOptions");
    QTest::addColumn<bool>("read");

    const QStringList keeper{u"--class"_s, u"Secretkeeper"_s};
    QTest::newRow("class on the list") << QStringList{u"Secretkeeper"_s} << keeper << false;
    QTest::newRow("class in another case") << QStringList{u"SECRETKEEPER"_s} << keeper << false;
    QTest::newRow("application id")
        << QStringList{u"org.example.Vault"_s}
        << QStringList{u"--class"_s, u"Vault"_s, u"--app-id"_s, u"org.example.Vault"_s} << false;
    QTest::newRow("desktop entry of the class")
        << QStringList{u"vault-desktop"_s} << QStringList{u"--class"_s, u"VaultWin"_s} << false;
    QTest::newRow("hidden owner window of a listed window")
        << QStringList{u"Secretkeeper"_s} << keeper + QStringList{u"--map"_s, u"--hidden-owner"_s}
        << false;
    QTest::newRow("another class")
        << QStringList{u"Secretkeeper"_s} << QStringList{u"--class"_s, u"Notes"_s} << true;
    QTest::newRow("hidden owner window of another application")
        << QStringList{u"Secretkeeper"_s}
        << QStringList{u"--class"_s, u"Notes"_s, u"--map"_s, u"--hidden-owner"_s} << true;
    QTest::newRow("nothing ignored") << QStringList{} << keeper << true;
}

// Nothing is asked of an ignored owner, not even its formats; the change gives no items.
void TestPasteboardX11::copiesOfIgnoredApplicationsAreNeverRead()
{
    QFETCH(QStringList, ignored);
    QFETCH(QStringList, ownerOptions);
    QFETCH(bool, read);
    QVERIFY(m_pasteboard->knowsOwners());
    m_pasteboard->setIgnoredApplications(ignored);
    const auto forget = qScopeGuard([this] { m_pasteboard->setIgnoredApplications({}); });

    QList<QList<PasteboardItem>> changes;
    QVERIFY(m_pasteboard->setChangeHandler(
        [this, &changes] { changes.append(m_pasteboard->pasteboardItems()); }));
    const auto unhandle = qScopeGuard([this] { m_pasteboard->setChangeHandler({}); });
    ClipOwner owner({{u"UTF8_STRING"_s, "s3cret"_ba}}, ownerOptions);
    QTRY_VERIFY(owner.isReady());
    if (read) {
        QTRY_VERIFY(!changes.isEmpty() &&
                    itemsAsEntries(changes.last()) ==
                        Items{entries({{"public.utf8-plain-text", "s3cret"}})});
        return;
    }
    // The last change is the owner's once a write of our own, made after it, has come through.
    m_pasteboard->writeItem({PasteboardTypes::string}, {"ours"_ba});
    QTRY_VERIFY(owner.hasLost());
    QTRY_VERIFY(changes.size() >= 2);
    QCOMPARE(owner.requested(), QStringList());
    for (const QList<PasteboardItem>& items : std::as_const(changes))
        QVERIFY(itemsAsEntries(items) != Items{entries({{"public.utf8-plain-text", "s3cret"}})});
}
