#include "platform/MimeTypeMapping.h"
#include "platform/PasteboardTypes.h"

#include <QTest>

using namespace Qt::StringLiterals;

using Entries = QList<std::pair<QString, QByteArray>>;
using Items = QList<Entries>;

namespace {

Entries entries(std::initializer_list<std::pair<const char*, const char*>> list)
{
    Entries result;
    for (const auto& [name, bytes] : list)
        result.append({QString::fromUtf8(name), QByteArray(bytes)});
    return result;
}

QStringList names(const Entries& list)
{
    QStringList result;
    for (const auto& entry : list)
        result.append(entry.first);
    return result;
}

Entries entriesOf(const PasteboardItem& item)
{
    Entries result;
    for (const QString& type : item.types())
        result.append({type, item.dataForType(type).value_or("<no data>"_ba)});
    return result;
}

} // namespace

class TestMimeTypeMapping : public QObject
{
    Q_OBJECT

private slots:
    void readingMapsOwnerFormatsToItems_data();
    void readingMapsOwnerFormatsToItems();
    void writingSetsEveryMimeTypeOfTheRow_data();
    void writingSetsEveryMimeTypeOfTheRow();
    void writtenItemReadsBackUnderItsFirstIdentifier_data();
    void writtenItemReadsBackUnderItsFirstIdentifier();

private:
    static Items read(const Entries& owner, QStringList* reads);
};

Items TestMimeTypeMapping::read(const Entries& owner, QStringList* reads)
{
    const auto items = MimeTypeMapping::itemsFromFormats(names(owner), [&](const QString& format) {
        reads->append(format);
        for (const auto& [name, bytes] : owner) {
            if (name == format)
                return bytes;
        }
        return QByteArray();
    });
    Items result;
    for (const PasteboardItem& item : items)
        result.append(entriesOf(item));
    return result;
}

void TestMimeTypeMapping::readingMapsOwnerFormatsToItems_data()
{
    QTest::addColumn<Entries>("owner");
    QTest::addColumn<Items>("expected");
    QTest::addColumn<QStringList>("reads");

    QTest::newRow("html and plain text keep the owner's order")
        << entries({{"text/html", "<b>x</b>"}, {"text/plain", "x"}})
        << Items{entries({{"public.html", "<b>x</b>"}, {"public.utf8-plain-text", "x"}})}
        << QStringList{u"text/html"_s, u"text/plain"_s};
    QTest::newRow("a later format for a taken identifier keeps its MIME name")
        << entries({{"text/plain;charset=utf-8", "a"}, {"text/plain", "b"}})
        << Items{entries({{"public.utf8-plain-text", "a"}, {"text/plain", "b"}})}
        << QStringList{u"text/plain;charset=utf-8"_s, u"text/plain"_s};
    QTest::newRow("rich text variants share one identifier")
        << entries({{"text/richtext", "r1"}, {"text/rtf", "r2"}, {"application/rtf", "r3"}})
        << Items{entries({{"public.rtf", "r1"}, {"text/rtf", "r2"}, {"application/rtf", "r3"}})}
        << QStringList{u"text/richtext"_s, u"text/rtf"_s, u"application/rtf"_s};
    QTest::newRow("MIME types match without case")
        << entries({{"text/plain;charset=UTF-8", "a"}})
        << Items{entries({{"public.utf8-plain-text", "a"}})}
        << QStringList{u"text/plain;charset=UTF-8"_s};
    QTest::newRow("unmapped MIME types are kept verbatim")
        << entries({{"text/_moz_htmlcontext", "c"},
                    {"chromium/x-source-url", "u"},
                    {"application/pdf", "%PDF"}})
        << Items{entries({{"text/_moz_htmlcontext", "c"},
                          {"chromium/x-source-url", "u"},
                          {"com.adobe.pdf", "%PDF"}})}
        << QStringList{u"text/_moz_htmlcontext"_s, u"chromium/x-source-url"_s,
                       u"application/pdf"_s};
    QTest::newRow("X11 meta targets are neither types nor read")
        << entries({{"TARGETS", ""},
                    {"MULTIPLE", ""},
                    {"TIMESTAMP", ""},
                    {"SAVE_TARGETS", ""},
                    {"COMPOUND_TEXT", "x"},
                    {"text/plain", "x"},
                    {"DELETE", ""}})
        << Items{entries({{"public.utf8-plain-text", "x"}})} << QStringList{u"text/plain"_s};
    QTest::newRow("a format without subtype or type is neither a type nor read")
        << entries({{"text/", "x"}, {"/plain", "y"}, {"text/plain", "z"}})
        << Items{entries({{"public.utf8-plain-text", "z"}})} << QStringList{u"text/plain"_s};
    QTest::newRow("Qt's internal image and the PIXMAP stand-in are skipped")
        << entries({{"application/x-qt-image", "q"}, {"image/ppm", "p"}, {"image/png", "png"}})
        << Items{entries({{"public.png", "png"}})} << QStringList{u"image/png"_s};
    QTest::newRow("only the first image format and PNG are read")
        << entries({{"text/html", "h"},
                    {"image/bmp", "b"},
                    {"image/jpeg", "j"},
                    {"image/png", "p"},
                    {"image/tiff", "t"}})
        << Items{entries({{"public.html", "h"}, {"image/bmp", "b"}, {"public.png", "p"}})}
        << QStringList{u"text/html"_s, u"image/bmp"_s, u"image/png"_s};
    QTest::newRow("a first TIFF maps and the later images stay unread")
        << entries({{"image/tiff", "t"}, {"image/jpeg", "j"}, {"image/gif", "g"}})
        << Items{entries({{"public.tiff", "t"}})} << QStringList{u"image/tiff"_s};
    QTest::newRow("one file URI is a file item holding the URI text")
        << entries({{"text/uri-list", "file:///tmp/a%20b.txt\r\n"}, {"text/plain", "/tmp/a b.txt"}})
        << Items{entries({{"public.file-url", "file:///tmp/a%20b.txt"},
                          {"public.utf8-plain-text", "/tmp/a b.txt"}})}
        << QStringList{u"text/uri-list"_s, u"text/plain"_s};
    QTest::newRow("an unescaped file URI keeps its text")
        << entries({{"text/uri-list", "file:///tmp/a b\xc3\xa4.txt\n"}})
        << Items{entries({{"public.file-url", "file:///tmp/a b\xc3\xa4.txt"}})}
        << QStringList{u"text/uri-list"_s};
    QTest::newRow("one web URI is a URL item")
        << entries({{"text/uri-list", "https://example.com/x\r\n"}})
        << Items{entries({{"public.url", "https://example.com/x"}})}
        << QStringList{u"text/uri-list"_s};
    QTest::newRow("several files are one file item holding every URI")
        << entries({{"text/uri-list", "file:///tmp/a%20b.txt\r\nfile:///tmp/c\r\n"},
                    {"text/plain", "/tmp/a b.txt\n/tmp/c"}})
        << Items{entries({{"public.file-url", "file:///tmp/a%20b.txt\nfile:///tmp/c"},
                          {"public.utf8-plain-text", "/tmp/a b.txt\n/tmp/c"}})}
        << QStringList{u"text/uri-list"_s, u"text/plain"_s};
    QTest::newRow("several URIs with a web address are one item each in list order")
        << entries({{"text/plain", "/tmp/a"},
                    {"text/uri-list", "file:///tmp/a\r\n# comment\r\n\r\nhttps://example.com/\r\n"
                                      "file:///tmp/b\r\n"}})
        << Items{entries({{"public.file-url", "file:///tmp/a"}}),
                 entries({{"public.url", "https://example.com/"}}),
                 entries({{"public.file-url", "file:///tmp/b"}})}
        << QStringList{u"text/plain"_s, u"text/uri-list"_s};
    QTest::newRow("a GNOME file list alone names a file")
        << entries(
               {{"x-special/gnome-copied-files", "copy\nfile:///tmp/a"}, {"text/plain", "/tmp/a"}})
        << Items{entries(
               {{"public.file-url", "file:///tmp/a"}, {"public.utf8-plain-text", "/tmp/a"}})}
        << QStringList{u"x-special/gnome-copied-files"_s, u"text/plain"_s};
    QTest::newRow("a GNOME file list alone with two files is one item")
        << entries({{"x-special/gnome-copied-files", "cut\nfile:///tmp/a\nfile:///tmp/b"}})
        << Items{entries({{"public.file-url", "file:///tmp/a\nfile:///tmp/b"}})}
        << QStringList{u"x-special/gnome-copied-files"_s};
    QTest::newRow("beside a uri-list the GNOME file list keeps its name")
        << entries({{"x-special/gnome-copied-files", "copy\nfile:///tmp/a"},
                    {"text/uri-list", "file:///tmp/a\r\n"}})
        << Items{entries({{"x-special/gnome-copied-files", "copy\nfile:///tmp/a"},
                          {"public.file-url", "file:///tmp/a"}})}
        << QStringList{u"x-special/gnome-copied-files"_s, u"text/uri-list"_s};
    QTest::newRow("a Mozilla URL is a URL item without its title")
        << entries({{"text/x-moz-url", "https://example.com/\nhttps://example.com/other"}})
        << Items{entries({{"public.url", "https://example.com/"}})}
        << QStringList{u"text/x-moz-url"_s};
    QTest::newRow("a uri-list without URIs keeps its name")
        << entries({{"text/uri-list", "# nothing\r\n"}})
        << Items{entries({{"text/uri-list", "# nothing\r\n"}})} << QStringList{u"text/uri-list"_s};
    QTest::newRow("a password manager's secret gives no items and nothing else is read")
        << entries({{"text/plain", "hunter2"}, {"x-kde-passwordManagerHint", "secret"}}) << Items{}
        << QStringList{u"x-kde-passwordManagerHint"_s};
    QTest::newRow("another password-manager hint changes nothing")
        << entries({{"text/plain", "x"}, {"x-kde-passwordManagerHint", "accepted"}})
        << Items{entries({{"public.utf8-plain-text", "x"}})}
        << QStringList{u"x-kde-passwordManagerHint"_s, u"text/plain"_s};
    QTest::newRow("a zero-byte format is data")
        << entries({{"text/html", ""}, {"text/plain", "x"}})
        << Items{entries({{"public.html", ""}, {"public.utf8-plain-text", "x"}})}
        << QStringList{u"text/html"_s, u"text/plain"_s};
    QTest::newRow("a format listed twice is read once")
        << entries({{"text/html", "h"}, {"text/html", "h"}})
        << Items{entries({{"public.html", "h"}})} << QStringList{u"text/html"_s};
    QTest::newRow("no formats give no items") << Entries{} << Items{} << QStringList{};
    QTest::newRow("only meta targets give no items")
        << entries({{"TARGETS", ""}, {"TIMESTAMP", ""}}) << Items{} << QStringList{};
}

void TestMimeTypeMapping::readingMapsOwnerFormatsToItems()
{
    QFETCH(Entries, owner);
    QFETCH(Items, expected);
    QFETCH(QStringList, reads);

    QStringList actualReads;
    QCOMPARE(read(owner, &actualReads), expected);
    QCOMPARE(actualReads, reads);
}

void TestMimeTypeMapping::writingSetsEveryMimeTypeOfTheRow_data()
{
    QTest::addColumn<QStringList>("types");
    QTest::addColumn<QList<QByteArray>>("payloads");
    QTest::addColumn<Entries>("expected");

    QTest::newRow("plain text sets both text types")
        << QStringList{PasteboardTypes::string} << QList<QByteArray>{"hi"}
        << entries({{"text/plain;charset=utf-8", "hi"}, {"text/plain", "hi"}});
    QTest::newRow("rich text sets both RTF types")
        << QStringList{PasteboardTypes::rtf} << QList<QByteArray>{"{\\rtf1}"}
        << entries({{"text/rtf", "{\\rtf1}"}, {"application/rtf", "{\\rtf1}"}});
    QTest::newRow("a file URL sets the uri-list, the GNOME file list and the path")
        << QStringList{PasteboardTypes::fileUrl} << QList<QByteArray>{"file:///tmp/a%20b.txt"}
        << entries({{"text/uri-list", "file:///tmp/a%20b.txt\r\n"},
                    {"x-special/gnome-copied-files", "copy\nfile:///tmp/a%20b.txt"},
                    {"text/plain", "/tmp/a b.txt"}});
    QTest::newRow("several file URLs set every file in each form")
        << QStringList{PasteboardTypes::fileUrl}
        << QList<QByteArray>{"file:///tmp/a%20b.txt\nfile:///tmp/c"}
        << entries({{"text/uri-list", "file:///tmp/a%20b.txt\r\nfile:///tmp/c\r\n"},
                    {"x-special/gnome-copied-files", "copy\nfile:///tmp/a%20b.txt\nfile:///tmp/c"},
                    {"text/plain", "/tmp/a b.txt\n/tmp/c"}});
    QTest::newRow("a web URL sets the uri-list and the text")
        << QStringList{PasteboardTypes::url} << QList<QByteArray>{"https://example.com/"}
        << entries({{"text/uri-list", "https://example.com/\r\n"},
                    {"text/plain", "https://example.com/"}});
    QTest::newRow("images, PDF and HTML map one to one")
        << QStringList{PasteboardTypes::png, PasteboardTypes::tiff, PasteboardTypes::pdf,
                       PasteboardTypes::html}
        << QList<QByteArray>{"p", "t", "d", "h"}
        << entries({{"image/png", "p"},
                    {"image/tiff", "t"},
                    {"application/pdf", "d"},
                    {"text/html", "h"}});
    QTest::newRow("a MIME-named type is written as it is")
        << QStringList{u"text/_moz_htmlcontext"_s} << QList<QByteArray>{"c"}
        << entries({{"text/_moz_htmlcontext", "c"}});
    QTest::newRow("types without a MIME form are left out")
        << QStringList{PasteboardTypes::rtfd, u"TARGETS"_s, PasteboardTypes::html}
        << QList<QByteArray>{"r", "t", "h"} << entries({{"text/html", "h"}});
    QTest::newRow("the earlier type keeps a MIME type both would set")
        << QStringList{PasteboardTypes::fileUrl, PasteboardTypes::string}
        << QList<QByteArray>{"file:///tmp/a", "other"}
        << entries({{"text/uri-list", "file:///tmp/a\r\n"},
                    {"x-special/gnome-copied-files", "copy\nfile:///tmp/a"},
                    {"text/plain", "/tmp/a"},
                    {"text/plain;charset=utf-8", "other"}});
    QTest::newRow("writing stops at the end of the payloads")
        << QStringList{PasteboardTypes::html, PasteboardTypes::string} << QList<QByteArray>{"h"}
        << entries({{"text/html", "h"}});
}

void TestMimeTypeMapping::writingSetsEveryMimeTypeOfTheRow()
{
    QFETCH(QStringList, types);
    QFETCH(QList<QByteArray>, payloads);
    QFETCH(Entries, expected);

    QCOMPARE(MimeTypeMapping::formatsForItem(types, payloads), expected);
}

void TestMimeTypeMapping::writtenItemReadsBackUnderItsFirstIdentifier_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QByteArray>("payload");

    QTest::newRow("text") << PasteboardTypes::string << "some text"_ba;
    QTest::newRow("html") << PasteboardTypes::html << "<p>x</p>"_ba;
    QTest::newRow("file URL") << PasteboardTypes::fileUrl << "file:///tmp/a%20b.txt"_ba;
    QTest::newRow("web URL") << PasteboardTypes::url << "https://example.com/a?b=c"_ba;
    QTest::newRow("png") << PasteboardTypes::png << "\x89PNG"_ba;
}

// What Vantrel writes back is what another clipboard history (or Vantrel itself, after a
// restart) would read as the same item.
void TestMimeTypeMapping::writtenItemReadsBackUnderItsFirstIdentifier()
{
    QFETCH(QString, type);
    QFETCH(QByteArray, payload);

    QStringList reads;
    const Items items = read(MimeTypeMapping::formatsForItem({type}, {payload}), &reads);
    QCOMPARE(items.size(), 1);
    QCOMPARE(items.first().first(), std::make_pair(type, payload));
}

QTEST_GUILESS_MAIN(TestMimeTypeMapping)
#include "tst_mimetypemapping.moc"
