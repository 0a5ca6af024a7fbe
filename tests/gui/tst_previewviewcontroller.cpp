#include "PreviewItems.h"
#include "browser/DocumentPreviewView.h"
#include "browser/ImagePreviewView.h"
#include "browser/PreviewPreparation.h"
#include "browser/PreviewViewController.h"
#include "browser/TextPreviewView.h"
#include "browser/WebAddressView.h"
#include "browser/WebPagePlugin.h"
#include "browser/WebPreviewView.h"

#include <QApplication>
#include <QDir>
#include <QHash>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStackedLayout>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QThreadPool>

using namespace Qt::StringLiterals;
using namespace PreviewItems;

class TestPreviewViewController : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void eachKindShowsInItsView_data();
    void eachKindShowsInItsView();
    void fileFactsShowForFilesWithoutPreview();
    void webViewIsMadeForTheFirstWebAddressOnly();
    void aWebAddressShowsAsItsAddressAndStartsNoBrowser();
    void aLongWebAddressWrapsInsteadOfWideningThePreview();
    void withoutAWorkingEnginePlugInAWebAddressStaysItsAddress_data();
    void withoutAWorkingEnginePlugInAWebAddressStaysItsAddress();
    void resultForAnItemNoLongerShownIsDropped();
    void imageIsDecodedAtTheSizeShown();
    void aLongTextShowsItsBeginningAndSaysTheRestIsNot_data();
    void aLongTextShowsItsBeginningAndSaysTheRestIsNot();
    void aTextShownInPartsEqualsItsDocument_data();
    void aTextShownInPartsEqualsItsDocument();

private:
    PBContentPtr itemNamed(const QString& name);
    QString visibleView() const;
    QString documentPage() const;
    // Lets every pool thread finish and every result reach the GUI thread.
    static void settle();

    QTemporaryDir m_folder;
    std::unique_ptr<PreviewViewController> m_preview;
};

void TestPreviewViewController::initTestCase()
{
    QVERIFY(m_folder.isValid());
    const QString dir = m_folder.path() + u'/';
    writeFile(dir + u"page.html"_s,
              "<html><body><h1>Heading</h1><p>Some <b>bold</b> words</p></body></html>");
    writeFile(dir + u"note.rtf"_s, R"({\rtf1\ansi {\b Rich} text})");
    writeFile(dir + u"plain.txt"_s, "<b>not markup</b>");
    writeFile(dir + u"rtfd.rtf"_s, QByteArray("rtfd\0\0\0\3binary", 16));
    writeImage(dir + u"picture.png"_s, QSize(64, 48), "png");
    writeImage(dir + u"picture.tiff"_s, QSize(64, 48), "tiff");
    writeImage(dir + u"large.png"_s, QSize(4000, 3000), "png");
    writePdf(dir + u"document.pdf"_s);
    writeFile(dir + u"damaged.pdf"_s, "%PDF-1.4\nnot a document");
    writeFile(dir + u"notes.log"_s, "line one\nline two\n");
    writeFile(dir + u"archive.bin"_s, QByteArray(3000, '\x01') + QByteArray("\x00\xff\xfe", 3));
    QVERIFY(QDir(dir).mkdir(u"folder"_s));
}

void TestPreviewViewController::init()
{
    m_preview = std::make_unique<PreviewViewController>(nullptr);
    m_preview->resize(400, 300);
    m_preview->show();
}

void TestPreviewViewController::cleanup()
{
    m_preview.reset();
    settle();
}

void TestPreviewViewController::settle()
{
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

PBContentPtr TestPreviewViewController::itemNamed(const QString& name)
{
    // The item's first pasteboard type, and its payload file (a web item: its address).
    static const QHash<QString, std::pair<QString, QString>> samples = {
        {u"html text"_s, {PasteboardTypes::html, u"page.html"_s}},
        {u"rtf text"_s, {PasteboardTypes::rtf, u"note.rtf"_s}},
        {u"plain text"_s, {PasteboardTypes::string, u"plain.txt"_s}},
        {u"flat rtfd text"_s, {PasteboardTypes::rtfd, u"rtfd.rtf"_s}},
        {u"text whose payload was removed"_s, {PasteboardTypes::html, u"removed.html"_s}},
        {u"png image"_s, {PasteboardTypes::png, u"picture.png"_s}},
        {u"tiff image"_s, {PasteboardTypes::tiff, u"picture.tiff"_s}},
        {u"pdf image"_s, {PasteboardTypes::pdf, u"document.pdf"_s}},
        {u"damaged pdf image"_s, {PasteboardTypes::pdf, u"damaged.pdf"_s}},
        {u"text file"_s, {PasteboardTypes::fileUrl, u"notes.log"_s}},
        {u"binary file"_s, {PasteboardTypes::fileUrl, u"archive.bin"_s}},
        {u"folder"_s, {PasteboardTypes::fileUrl, u"folder"_s}},
        {u"web address"_s, {PasteboardTypes::url, u"http://127.0.0.1:9/"_s}}};
    const auto [type, file] = samples.value(name);
    const QString path = m_folder.filePath(file);
    if (type == PasteboardTypes::url)
        return urlItem(file);
    if (type == PasteboardTypes::fileUrl)
        return fileItem(path);
    if (PBImageContent::supportPasteboardTypes().contains(type))
        return imageItem(type, path);
    return textItem(type, path);
}

QString TestPreviewViewController::visibleView() const
{
    QStringList visible;
    for (QWidget* view : m_preview->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (view->isVisibleTo(m_preview.get()))
            visible << view->objectName();
    }
    return visible.join(u',');
}

QString TestPreviewViewController::documentPage() const
{
    auto* pages = qobject_cast<QStackedLayout*>(m_preview->previewView()->layout());
    return pages->currentWidget()->objectName();
}

void TestPreviewViewController::eachKindShowsInItsView_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("view");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("text");

    QTest::newRow("html text") << u"html text"_s << u"textView"_s << u""_s
                               << u"Heading\nSome bold words"_s;
    QTest::newRow("rtf text") << u"rtf text"_s << u"textView"_s << u""_s << u"Rich text"_s;
    QTest::newRow("plain text") << u"plain text"_s << u"textView"_s << u""_s
                                << u"<b>not markup</b>"_s;
    QTest::newRow("flat rtfd text falls back")
        << u"flat rtfd text"_s << u"previewView"_s << u"fileInfo"_s << u""_s;
    QTest::newRow("text whose payload was removed falls back")
        << u"text whose payload was removed"_s << u"previewView"_s << u"fileInfo"_s << u""_s;
    QTest::newRow("png image") << u"png image"_s << u"previewView"_s << u"imagePreview"_s << u""_s;
    QTest::newRow("tiff image") << u"tiff image"_s << u"previewView"_s << u"imagePreview"_s
                                << u""_s;
    QTest::newRow("pdf image") << u"pdf image"_s << u"previewView"_s << u"pdfPreview"_s << u""_s;
    QTest::newRow("damaged pdf image")
        << u"damaged pdf image"_s << u"previewView"_s << u"fileInfo"_s << u""_s;
    QTest::newRow("text file") << u"text file"_s << u"previewView"_s << u"textFilePreview"_s
                               << u"line one\nline two\n"_s;
    QTest::newRow("binary file") << u"binary file"_s << u"previewView"_s << u"fileInfo"_s << u""_s;
    QTest::newRow("web address") << u"web address"_s << u"webView"_s << u""_s << u""_s;
}

void TestPreviewViewController::eachKindShowsInItsView()
{
    QFETCH(QString, item);
    QFETCH(QString, view);
    QFETCH(QString, page);
    QFETCH(QString, text);

    QSignalSpy shown(m_preview.get(), &PreviewViewController::previewShown);
    m_preview->setPreviewContent(itemNamed(item));
    QTRY_COMPARE(shown.count(), 1);
    QCOMPARE(visibleView(), view);
    if (!page.isEmpty())
        QCOMPARE(documentPage(), page);
    if (view == u"textView")
        QCOMPARE(m_preview->textView()->toPlainText(), text);
    if (page == u"textFilePreview")
        QCOMPARE(m_preview->previewView()->findChild<QTextEdit*>(page)->toPlainText(), text);
}

void TestPreviewViewController::fileFactsShowForFilesWithoutPreview()
{
    const auto label = [this](const char* name) {
        auto* found = m_preview->previewView()->findChild<QLabel*>(QLatin1String(name));
        return found->isVisibleTo(m_preview.get()) ? found->text() : u"(hidden)"_s;
    };
    QSignalSpy shown(m_preview.get(), &PreviewViewController::previewShown);
    m_preview->setPreviewContent(itemNamed(u"binary file"_s));
    QTRY_COMPARE(shown.count(), 1);
    QCOMPARE(label("fileName"), u"archive.bin"_s);
    QCOMPARE(label("fileSize"), u"2 KB"_s);
    QVERIFY(!label("fileType").isEmpty());

    m_preview->setPreviewContent(itemNamed(u"folder"_s));
    QTRY_COMPARE(shown.count(), 2);
    QCOMPARE(label("fileName"), u"folder"_s);
    QCOMPARE(label("fileSize"), u"(hidden)"_s);
    QCOMPARE(label("fileType"), u"Folder"_s);
}

void TestPreviewViewController::webViewIsMadeForTheFirstWebAddressOnly()
{
    for (const QString& name : {u"html text"_s, u"png image"_s, u"binary file"_s}) {
        m_preview->setPreviewContent(itemNamed(name));
        settle();
    }
    QVERIFY(!m_preview->findChild<WebPreviewView*>());

    m_preview->setPreviewContent(itemNamed(u"web address"_s));
    QVERIFY(m_preview->findChild<WebPreviewView*>());
    QCOMPARE(visibleView(), u"webView"_s);

    m_preview->setPreviewContent(itemNamed(u"png image"_s));
    QCOMPARE(visibleView(), u"previewView"_s);
    QTRY_COMPARE(documentPage(), u"imagePreview"_s);

    WebPreviewView* web = m_preview->webView();
    m_preview->setPreviewContent(itemNamed(u"web address"_s));
    m_preview->setPreviewContent(urlItem(u"https://127.0.0.1:9/other"_s));
    QCOMPARE(visibleView(), u"webView"_s);
    QCOMPARE(m_preview->webView(), web);

    m_preview->setPreviewContent(nullptr);
    QCOMPARE(visibleView(), QString());
}

// Nothing of the page is fetched, so the engine that would fetch it is not even made.
void TestPreviewViewController::aWebAddressShowsAsItsAddressAndStartsNoBrowser()
{
    const QString address = u"https://127.0.0.1:9/reset?token=once"_s;
    m_preview->setPreviewContent(urlItem(address));
    QCOMPARE(visibleView(), u"webView"_s);
    QVERIFY(m_preview->webView()->addressView()->isVisible());
    QVERIFY(!m_preview->findChild<QWidget*>(u"webPage"_s));
    QCOMPARE(m_preview->findChild<QLabel*>(u"webAddress"_s)->accessibleDescription(), address);
    // No title is known before a load.
    QVERIFY(m_preview->findChild<QLabel*>(u"webTitle"_s)->isHidden());
    auto* open = m_preview->findChild<QLabel*>(u"openInBrowser"_s);
    QCOMPARE(open->accessibleName(), u"Open in Browser"_s);
    QVERIFY(open->isEnabled());
    if (auto* load = m_preview->findChild<QPushButton*>(u"loadPage"_s); load && load->isVisible()) {
        QCOMPARE(load->accessibleName(), u"Load Page"_s);
        QVERIFY(!load->toolTip().isEmpty());
        QVERIFY(load->isEnabled());
    }

    // Text that is no web address cannot be loaded or opened.
    m_preview->setPreviewContent(urlItem(u"mailto:someone@example.org"_s));
    QVERIFY(!open->isEnabled());
    QVERIFY(!m_preview->findChild<QWidget*>(u"webPage"_s));
}

void TestPreviewViewController::aLongWebAddressWrapsInsteadOfWideningThePreview()
{
    const QString address = u"https://127.0.0.1:9/"_s + QString(5000, u'a');
    m_preview->setPreviewContent(urlItem(address));
    QVERIFY(m_preview->webView()->minimumSizeHint().width() < 400);
    QVERIFY(m_preview->findChild<QLabel*>(u"webAddress"_s)->text().size() < 3000);
}

void TestPreviewViewController::withoutAWorkingEnginePlugInAWebAddressStaysItsAddress_data()
{
    QTest::addColumn<QByteArray>("pluginFile");
    QTest::addColumn<bool>("offersLoadPage");
    QTest::newRow("no plug-in") << QByteArray() << false;
    QTest::newRow("a plug-in that does not load") << QByteArray("not a library") << true;
}

// Asked at once (the preference) or by the button, the page cannot load: the address, the link
// to the browser and no page, as in a build without the engine.
void TestPreviewViewController::withoutAWorkingEnginePlugInAWebAddressStaysItsAddress()
{
    QFETCH(QByteArray, pluginFile);
    QFETCH(bool, offersLoadPage);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    if (!pluginFile.isEmpty())
        writeFile(folder.filePath(WebPagePlugin::fileName()), pluginFile);
    WebPagePlugin plugin({folder.path()});
    QCOMPARE(plugin.isAvailable(), offersLoadPage);
    WebPreviewView view(plugin);
    view.show();

    const QString address = u"https://127.0.0.1:9/once"_s;
    view.setContent(urlItem(address), true);
    auto* load = view.findChild<QPushButton*>(u"loadPage"_s);
    QCOMPARE(load->isVisible(), offersLoadPage);
    if (offersLoadPage)
        QTest::mouseClick(load, Qt::LeftButton);
    view.loadPage();
    QVERIFY(view.addressView()->isVisible());
    QVERIFY(!view.findChild<QWidget*>(u"webPage"_s));
    QCOMPARE(view.findChild<QLabel*>(u"webAddress"_s)->accessibleDescription(), address);
    QVERIFY(view.findChild<QLabel*>(u"webTitle"_s)->isHidden());
    QVERIFY(view.findChild<QLabel*>(u"openInBrowser"_s)->isEnabled());
}

void TestPreviewViewController::resultForAnItemNoLongerShownIsDropped()
{
    QSignalSpy shown(m_preview.get(), &PreviewViewController::previewShown);
    // Neither result can arrive before the next item is set: results come back through the
    // GUI thread's event loop.
    m_preview->setPreviewContent(itemNamed(u"html text"_s));
    m_preview->setPreviewContent(itemNamed(u"pdf image"_s));
    m_preview->setPreviewContent(itemNamed(u"png image"_s));
    settle();
    QCOMPARE(shown.count(), 1);
    QCOMPARE(visibleView(), u"previewView"_s);
    QCOMPARE(documentPage(), u"imagePreview"_s);
    QCOMPARE(m_preview->textView()->toPlainText(), QString());

    m_preview->setPreviewContent(itemNamed(u"png image"_s));
    m_preview->setPreviewContent(itemNamed(u"text whose payload was removed"_s));
    m_preview->setPreviewContent(itemNamed(u"plain text"_s));
    settle();
    QCOMPARE(shown.count(), 2);
    QCOMPARE(visibleView(), u"textView"_s);
}

void TestPreviewViewController::imageIsDecodedAtTheSizeShown()
{
    m_preview->setPreviewContent(
        imageItem(PasteboardTypes::png, m_folder.filePath(u"large.png"_s)));
    auto* image = m_preview->previewView()->findChild<ImagePreviewView*>();
    QTRY_VERIFY(!image->image().isNull());
    const QSize fit = image->fitSize(image->size());
    QCOMPARE(image->image().size(), QSize(4000, 3000).scaled(fit, Qt::KeepAspectRatio));

    m_preview->resize(800, 600);
    QTRY_VERIFY(image->image().width() > fit.width());
    QCOMPARE(image->image().size(),
             QSize(4000, 3000).scaled(image->fitSize(image->size()), Qt::KeepAspectRatio));
}

void TestPreviewViewController::aLongTextShowsItsBeginningAndSaysTheRestIsNot_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<qint64>("size");
    QTest::addColumn<int>("lineLength");
    QTest::addColumn<qint64>("shown"); // the bytes the cut note tells of; 0: not cut
    const qint64 bound = PreviewPreparation::previewBytes;
    const qint64 lines = PreviewPreparation::previewLines;
    QTest::newRow("plain text item") << PasteboardTypes::string << 5 * bound / 4 << 400 << bound;
    QTest::newRow("html text item") << PasteboardTypes::html << 5 * bound / 4 << 15 << bound;
    QTest::newRow("text file") << PasteboardTypes::fileUrl << 5 * bound / 4 << 400 << bound;
    QTest::newRow("exactly the bound") << PasteboardTypes::string << bound << 400 << 0ll;
    QTest::newRow("plain text of short lines")
        << PasteboardTypes::string << 5 * bound / 4 << 15 << 15 * lines;
    QTest::newRow("text file of short lines")
        << PasteboardTypes::fileUrl << 2 * 15 * lines << 15 << 15 * lines;
    QTest::newRow("exactly the line bound") << PasteboardTypes::string << 15 * lines << 15 << 0ll;
}

void TestPreviewViewController::aLongTextShowsItsBeginningAndSaysTheRestIsNot()
{
    QFETCH(QString, type);
    QFETCH(qint64, size);
    QFETCH(int, lineLength);
    QFETCH(qint64, shown);
    QByteArray text;
    text.reserve(size);
    for (int line = 0; text.size() < size; ++line)
        text += ("line " + QByteArray::number(line).rightJustified(9, '0'))
                    .leftJustified(lineLength - 1, '.') +
                '\n';
    text.truncate(size);
    const QString path = writeFile(m_folder.filePath(u"long.txt"_s), text);
    QSignalSpy previewed(m_preview.get(), &PreviewViewController::previewShown);
    m_preview->setPreviewContent(type == PasteboardTypes::fileUrl ? fileItem(path)
                                                                  : textItem(type, path));
    QTRY_COMPARE(previewed.count(), 1);
    QTextEdit* view = type == PasteboardTypes::fileUrl
                          ? m_preview->previewView()->findChild<QTextEdit*>(u"textFilePreview"_s)
                          : m_preview->textView();
    // Shown a part at a time: the whole of it takes a few seconds.
    QTRY_VERIFY_WITH_TIMEOUT(qobject_cast<TextPreviewView*>(view)->isComplete(), 30000);
    const QTextDocument* document = view->document();
    const QString note = PreviewPreparation::cutNote(shown, size);
    QCOMPARE(document->lastBlock().text() == note, shown > 0);
    QVERIFY(document->characterCount() <= (shown > 0 ? shown : size) + note.size() + 2);
    QVERIFY(document->toPlainText().startsWith(u"line 000000000"_s));
}

void TestPreviewViewController::aTextShownInPartsEqualsItsDocument_data()
{
    QTest::addColumn<QString>("html");

    const QString line = u"<p>A paragraph with <b>bold</b> and \U0001F600 words</p>"_s;
    QString table = u"<table border=1>"_s;
    for (int row = 0; row < 400; ++row)
        table += u"<tr><td>cell %1</td><td><i>%2</i></td></tr>"_s.arg(row).arg(line);
    table += u"</table>"_s;
    const int parts = 3 * TextPreviewView::partLength / int(line.size());
    QTest::newRow("short") << line;
    QTest::newRow("many paragraphs") << line.repeated(parts);
    QTest::newRow("tables across parts") << (line.repeated(parts / 3) + table).repeated(3);
    QTest::newRow("one long paragraph")
        << u"<p>"_s + u"word "_s.repeated(2 * TextPreviewView::partLength) + u"</p>"_s;
}

void TestPreviewViewController::aTextShownInPartsEqualsItsDocument()
{
    QFETCH(QString, html);

    auto document = std::make_shared<QTextDocument>();
    document->setHtml(html);
    TextPreviewView view;
    view.resize(400, 300);
    view.show();
    view.setPreparedDocument(document);
    QTRY_VERIFY(view.isComplete());
    QCOMPARE(view.document()->toHtml(), document->toHtml());
    // What comes later does not move what is shown, nor the caret a reader moves with the keys.
    QCOMPARE(view.verticalScrollBar()->value(), 0);
    QCOMPARE(view.textCursor().position(), 0);
    QVERIFY(!view.textCursor().hasSelection());
}

QTEST_MAIN(TestPreviewViewController)
#include "tst_previewviewcontroller.moc"
