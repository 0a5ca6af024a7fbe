// The preview of a web address on a real X server, against a loopback HTTP server that counts
// what it is asked for: showing the address fetches nothing (not even by starting the browser
// engine), "Load Page" fetches it once, the preference to load pages fetches it on showing, the
// next address goes back to its address, and an image hides the page.
#include "../gui/PreviewItems.h"
#include "PageServer.h"
#include "browser/DocumentPreviewView.h"
#include "browser/PreviewViewController.h"
#include "browser/WebAddressView.h"
#include "browser/WebPreviewView.h"
#include "storage/BooleanSetting.h"
#include "storage/UserDefaults.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QStackedLayout>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

using namespace Qt::StringLiterals;
using namespace PreviewItems;

namespace {
constexpr int pageLoadTimeoutMs = 60'000;
const QString pageTitle = PageServer::title;

QWebEngineView* pageOf(PreviewViewController& preview)
{
    return preview.webView()->findChild<QWebEngineView*>();
}

} // namespace

class TestPreviewE2E : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void showingAWebAddressFetchesNothingUntilLoadPage();
    void theNextWebAddressShowsItsAddressAndTheKnownTitle();
    void withLoadingChosenShowingAWebAddressFetchesIt();
    void anImageHidesTheLoadedPage();

private:
    // Shows a preview that follows `setting`, or none.
    void showPreview(const BooleanSetting* setting = nullptr);
    void pressLoadPage();

    std::unique_ptr<PageServer> m_server;
    std::unique_ptr<PreviewViewController> m_preview;
};

void TestPreviewE2E::init()
{
    m_server = std::make_unique<PageServer>();
}

void TestPreviewE2E::cleanup()
{
    m_preview.reset();
    m_server.reset();
}

void TestPreviewE2E::showPreview(const BooleanSetting* setting)
{
    m_preview = std::make_unique<PreviewViewController>(setting);
    m_preview->resize(800, 600);
    m_preview->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_preview.get()));
}

void TestPreviewE2E::pressLoadPage()
{
    auto* button = m_preview->findChild<QPushButton*>(u"loadPage"_s);
    QVERIFY(button);
    QVERIFY(button->isVisible());
    QCOMPARE(button->accessibleName(), u"Load Page"_s);
    QVERIFY(!button->toolTip().isEmpty());
    QTest::mouseClick(button, Qt::LeftButton);
}

void TestPreviewE2E::showingAWebAddressFetchesNothingUntilLoadPage()
{
    showPreview();
    const QUrl address = m_server->address(u"secret-link"_s);
    m_preview->setPreviewContent(urlItem(address.toString()));

    // No engine runs, so nothing can reach the network, the name lookup included.
    QVERIFY(!pageOf(*m_preview));
    QVERIFY(m_preview->webView()->addressView()->isVisible());
    auto* shown = m_preview->findChild<QLabel*>(u"webAddress"_s);
    QCOMPARE(shown->accessibleDescription(), address.toString());
    QVERIFY(m_server->paths.isEmpty());

    pressLoadPage();
    QWebEngineView* page = pageOf(*m_preview);
    QVERIFY(page);
    QTRY_COMPARE_WITH_TIMEOUT(page->title(), pageTitle, pageLoadTimeoutMs);
    QString text;
    page->page()->toPlainText([&text](const QString& plain) { text = plain; });
    QTRY_COMPARE_WITH_TIMEOUT(text, u"Served over loopback"_s, pageLoadTimeoutMs);
    QVERIFY(page->isVisible());
    QCOMPARE(m_server->paths, QStringList{u"/secret-link"_s});
}

void TestPreviewE2E::theNextWebAddressShowsItsAddressAndTheKnownTitle()
{
    showPreview();
    const QString first = m_server->address(u"first"_s).toString();
    m_preview->setPreviewContent(urlItem(first));
    pressLoadPage();
    QTRY_COMPARE_WITH_TIMEOUT(pageOf(*m_preview)->title(), pageTitle, pageLoadTimeoutMs);

    // The load is not carried over to the next address.
    m_preview->setPreviewContent(urlItem(m_server->address(u"second"_s).toString()));
    QVERIFY(m_preview->webView()->addressView()->isVisible());
    QVERIFY(!pageOf(*m_preview)->isVisible());
    auto* title = m_preview->findChild<QLabel*>(u"webTitle"_s);
    QVERIFY(title->isHidden());

    // Back on the first, its title is known from the load; the page itself waits again.
    m_preview->setPreviewContent(urlItem(first));
    QVERIFY(m_preview->webView()->addressView()->isVisible());
    QCOMPARE(title->text(), pageTitle);
    QVERIFY(title->isVisible());

    // Only the one load reached the server: a later one proves nothing else was on its way.
    m_preview->setPreviewContent(urlItem(m_server->address(u"third"_s).toString()));
    pressLoadPage();
    QTRY_COMPARE_WITH_TIMEOUT(m_server->paths.size(), 2, pageLoadTimeoutMs);
    QCOMPARE(m_server->paths, (QStringList{u"/first"_s, u"/third"_s}));
}

void TestPreviewE2E::withLoadingChosenShowingAWebAddressFetchesIt()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    BooleanSetting setting(folder.filePath(u"vantrel.conf"_s), UserDefaults::loadWebPagesKey);
    setting.setValue(true);
    showPreview(&setting);

    m_preview->setPreviewContent(urlItem(m_server->address(u"at-once"_s).toString()));
    QWebEngineView* page = pageOf(*m_preview);
    QVERIFY(page);
    QTRY_COMPARE_WITH_TIMEOUT(page->title(), pageTitle, pageLoadTimeoutMs);
    QVERIFY(page->isVisible());
    QCOMPARE(m_server->paths, QStringList{u"/at-once"_s});
    m_preview.reset();
}

void TestPreviewE2E::anImageHidesTheLoadedPage()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString picture = writeImage(folder.filePath(u"picture.png"_s), QSize(320, 200), "png");
    showPreview();
    m_preview->setPreviewContent(urlItem(m_server->address(u"page"_s).toString()));
    pressLoadPage();
    QTRY_COMPARE_WITH_TIMEOUT(pageOf(*m_preview)->title(), pageTitle, pageLoadTimeoutMs);
    QVERIFY(m_preview->webView()->isVisible());

    m_preview->setPreviewContent(imageItem(PasteboardTypes::png, picture));
    QVERIFY(!m_preview->webView()->isVisible());
    DocumentPreviewView* document = m_preview->previewView();
    QVERIFY(document->isVisible());
    auto* pages = qobject_cast<QStackedLayout*>(document->layout());
    QTRY_COMPARE(pages->currentWidget()->objectName(), u"imagePreview"_s);
    QVERIFY(pages->currentWidget()->isVisible());
}

QTEST_MAIN(TestPreviewE2E)
#include "tst_preview_e2e.moc"
