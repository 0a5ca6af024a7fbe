// The web preview on Qt WebEngine.
#include "browser/WebPreviewView.h"
#include "shell/Utils.h"
#include "support/Logging.h"

#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>
#include <unistd.h>

namespace {
// Chromium refuses to start as root with its sandbox on. The switch is made just before the
// first engine starts, so only the engine runs without it, and only for root.
void prepareEngine()
{
    static const bool prepared = [] {
        if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX")) {
            qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
            qCInfo(lcBrowser, "running as root: the web preview runs without its sandbox");
        }
        return true;
    }();
    Q_UNUSED(prepared);
}
} // namespace

struct WebPreviewView::Parts
{
    QWebEngineView* view = nullptr;
};

WebPreviewView::WebPreviewView(QWidget* parent)
    : QWidget(parent), m_parts(std::make_unique<Parts>())
{
    prepareEngine();
    setAccessibleName(tr("Web page"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_parts->view = new QWebEngineView(this);
    m_parts->view->setObjectName(QStringLiteral("webPage"));
    m_parts->view->setAccessibleName(tr("Web page"));
    // Made after the view, so deleted after it (children go in the order they came) and after
    // the page that uses it. Without a storage name the profile is off the record: previewed
    // pages leave no cookies or cache behind.
    auto* profile = new QWebEngineProfile(this);
    m_parts->view->setPage(new QWebEnginePage(profile, m_parts->view));
    layout->addWidget(m_parts->view);
}

WebPreviewView::~WebPreviewView() = default;

void WebPreviewView::loadContent(const PBContentPtr& item)
{
    m_parts->view->setUrl(QUrl(QStringLiteral("about:blank")));
    if (const auto url = Utils::webAddress(item ? item->keyword() : QString()))
        m_parts->view->load(*url);
}
