// The preview on a real X server: a web address served by a loopback HTTP server shows as the
// live page in the browser engine, and the next item hides it.
#include "../gui/PreviewItems.h"
#include "browser/DocumentPreviewView.h"
#include "browser/PreviewViewController.h"
#include "browser/WebPreviewView.h"

#include <QApplication>
#include <QStackedLayout>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

using namespace Qt::StringLiterals;
using namespace PreviewItems;

namespace {
constexpr int pageLoadTimeoutMs = 60'000;

// Answers every request on the loopback interface with one fixed page.
class PageServer : public QTcpServer
{
public:
    PageServer()
    {
        connect(this, &QTcpServer::newConnection, this, &PageServer::answer);
        if (!listen(QHostAddress::LocalHost))
            qFatal("cannot listen on the loopback interface");
    }

    QUrl address() const { return QUrl(u"http://127.0.0.1:%1/page"_s.arg(serverPort())); }
    int requests = 0;

private:
    void answer()
    {
        while (QTcpSocket* socket = nextPendingConnection()) {
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                m_received[socket] += socket->readAll();
                if (!m_received[socket].contains("\r\n\r\n"))
                    return;
                ++requests;
                const QByteArray body = "<html><head><title>Vantrel test page</title></head>"
                                        "<body><p>Served over loopback</p></body></html>";
                socket->write("HTTP/1.0 200 OK\r\nContent-Type: text/html; charset=utf-8\r\n"
                              "Content-Length: " +
                              QByteArray::number(body.size()) + "\r\n\r\n" + body);
                socket->disconnectFromHost();
            });
        }
    }

    QHash<QTcpSocket*, QByteArray> m_received;
};
} // namespace

class TestPreviewE2E : public QObject
{
    Q_OBJECT

private slots:
    void webAddressShowsItsPageUntilAnImageHidesIt();
};

void TestPreviewE2E::webAddressShowsItsPageUntilAnImageHidesIt()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString picture = writeImage(folder.filePath(u"picture.png"_s), QSize(320, 200), "png");
    PageServer server;
    PreviewViewController preview;
    preview.resize(800, 600);
    preview.show();
    QVERIFY(QTest::qWaitForWindowExposed(&preview));

    preview.setPreviewContent(urlItem(server.address().toString()));
    auto* page = preview.webView()->findChild<QWebEngineView*>();
    QVERIFY(page);
    QTRY_COMPARE_WITH_TIMEOUT(page->title(), u"Vantrel test page"_s, pageLoadTimeoutMs);
    QString text;
    page->page()->toPlainText([&text](const QString& plain) { text = plain; });
    QTRY_COMPARE_WITH_TIMEOUT(text, u"Served over loopback"_s, pageLoadTimeoutMs);
    QVERIFY(server.requests >= 1);
    QVERIFY(preview.webView()->isVisible());

    preview.setPreviewContent(imageItem(PasteboardTypes::png, picture));
    QVERIFY(!preview.webView()->isVisible());
    DocumentPreviewView* document = preview.previewView();
    QVERIFY(document->isVisible());
    auto* pages = qobject_cast<QStackedLayout*>(document->layout());
    QTRY_COMPARE(pages->currentWidget()->objectName(), u"imagePreview"_s);
    QVERIFY(pages->currentWidget()->isVisible());
}

QTEST_MAIN(TestPreviewE2E)
#include "tst_preview_e2e.moc"
