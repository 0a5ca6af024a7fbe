#include "PreviewItems.h"
#include "browser/DocumentPreviewView.h"
#include "browser/ImagePreviewView.h"
#include "browser/PreviewViewController.h"
#include "browser/WebPreviewView.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QSignalSpy>
#include <QStackedLayout>
#include <QTemporaryDir>
#include <QTest>
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
    void noItemLeavesThePaneBlank();
    void resultForAnItemNoLongerShownIsDropped();
    void imageIsDecodedAtTheSizeShown();

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
    writeFile(dir + u"notes.log"_s, "line one\nline two\n");
    writeFile(dir + u"archive.bin"_s, QByteArray(3000, '\x01') + QByteArray("\x00\xff\xfe", 3));
    QVERIFY(QDir(dir).mkdir(u"folder"_s));
}

void TestPreviewViewController::init()
{
    m_preview = std::make_unique<PreviewViewController>();
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
    const QString dir = m_folder.path() + u'/';
    if (name == u"html text")
        return textItem(PasteboardTypes::html, dir + u"page.html"_s);
    if (name == u"rtf text")
        return textItem(PasteboardTypes::rtf, dir + u"note.rtf"_s);
    if (name == u"plain text")
        return textItem(PasteboardTypes::string, dir + u"plain.txt"_s);
    if (name == u"flat rtfd text")
        return textItem(PasteboardTypes::rtfd, dir + u"rtfd.rtf"_s);
    if (name == u"text whose payload was removed")
        return textItem(PasteboardTypes::html, dir + u"removed.html"_s);
    if (name == u"png image")
        return imageItem(PasteboardTypes::png, dir + u"picture.png"_s);
    if (name == u"tiff image")
        return imageItem(PasteboardTypes::tiff, dir + u"picture.tiff"_s);
    if (name == u"pdf image")
        return imageItem(PasteboardTypes::pdf, dir + u"document.pdf"_s);
    if (name == u"text file")
        return fileItem(dir + u"notes.log"_s);
    if (name == u"binary file")
        return fileItem(dir + u"archive.bin"_s);
    if (name == u"folder")
        return fileItem(dir + u"folder"_s);
    if (name == u"web address")
        return urlItem(u"http://127.0.0.1:9/"_s);
    qFatal("no item %s", qPrintable(name));
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
    QVERIFY(!m_preview->hasWebView());
    QVERIFY(!m_preview->findChild<WebPreviewView*>());

    m_preview->setPreviewContent(itemNamed(u"web address"_s));
    QVERIFY(m_preview->hasWebView());
    QCOMPARE(visibleView(), u"webView"_s);

    m_preview->setPreviewContent(itemNamed(u"png image"_s));
    QCOMPARE(visibleView(), u"previewView"_s);
    QTRY_COMPARE(documentPage(), u"imagePreview"_s);

    WebPreviewView* web = m_preview->webView();
    m_preview->setPreviewContent(itemNamed(u"web address"_s));
    m_preview->setPreviewContent(urlItem(u"https://127.0.0.1:9/other"_s));
    QCOMPARE(visibleView(), u"webView"_s);
    QCOMPARE(m_preview->webView(), web);
}

void TestPreviewViewController::noItemLeavesThePaneBlank()
{
    m_preview->setPreviewContent(itemNamed(u"html text"_s));
    QTRY_COMPARE(visibleView(), u"textView"_s);
    m_preview->setPreviewContent(nullptr);
    settle();
    QCOMPARE(visibleView(), QString());
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

QTEST_MAIN(TestPreviewViewController)
#include "tst_previewviewcontroller.moc"
