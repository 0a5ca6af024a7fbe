// The web preview on Qt WebEngine.
#include "browser/WebAddressView.h"
#include "browser/WebPreviewView.h"
#include "shell/Utils.h"
#include "support/Logging.h"

#include <QHash>
#include <QStackedLayout>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>
#include <unistd.h>

namespace {
// Titles of pages loaded in this run, kept in memory only; past this many they start again.
constexpr qsizetype rememberedTitles = 256;

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
    QStackedLayout* pages = nullptr;
    WebAddressView* address = nullptr;
    // Made on the first load, so the engine never starts for an address only looked at.
    QWebEngineView* view = nullptr;
    PBContentPtr item;
    std::optional<QUrl> url;
    // The address of the page being shown, whose title is remembered; none while the address
    // view shows.
    QUrl loaded;
    QHash<QUrl, QString> titles;

    void makeView(WebPreviewView* owner);
    void rememberTitle(const QString& title);
};

void WebPreviewView::Parts::makeView(WebPreviewView* owner)
{
    prepareEngine();
    view = new QWebEngineView(owner);
    view->setObjectName(QStringLiteral("webPage"));
    view->setAccessibleName(WebPreviewView::tr("Web page"));
    // Made after the view, so deleted after it (children go in the order they came) and after
    // the page that uses it. Without a storage name the profile is off the record: previewed
    // pages leave no cookies or cache behind.
    auto* profile = new QWebEngineProfile(owner);
    view->setPage(new QWebEnginePage(profile, view));
    pages->addWidget(view);
    QObject::connect(view, &QWebEngineView::titleChanged, owner,
                     [this](const QString& title) { rememberTitle(title); });
}

// Chromium names a page without a title by its address; that is no title.
void WebPreviewView::Parts::rememberTitle(const QString& title)
{
    if (loaded.isEmpty() || title.isEmpty() || loaded.toString().contains(title))
        return;
    if (titles.size() >= rememberedTitles)
        titles.clear();
    titles.insert(loaded, title);
    view->setAccessibleDescription(title);
}

WebPreviewView::WebPreviewView(QWidget* parent)
    : QWidget(parent), m_parts(std::make_unique<Parts>())
{
    setAccessibleName(tr("Web page"));
    m_parts->pages = new QStackedLayout(this);
    m_parts->pages->setContentsMargins(0, 0, 0, 0);
    m_parts->address = new WebAddressView(true, this);
    m_parts->address->setObjectName(QStringLiteral("webAddressView"));
    m_parts->pages->addWidget(m_parts->address);
    connect(m_parts->address, &WebAddressView::loadRequested, this, &WebPreviewView::loadPage);
    connect(m_parts->address, &WebAddressView::openRequested, this,
            [this] { Utils::openContent(m_parts->item, this); });
}

WebPreviewView::~WebPreviewView() = default;

void WebPreviewView::setContent(const PBContentPtr& item, bool loadAtOnce)
{
    m_parts->item = item;
    m_parts->loaded.clear();
    // The page of the previous item stops here, and nothing of it stays on screen.
    if (m_parts->view)
        m_parts->view->setUrl(QUrl(QStringLiteral("about:blank")));
    const QString text = item ? item->keyword().trimmed() : QString();
    m_parts->url = Utils::webAddress(text);
    m_parts->address->showAddress(text,
                                  m_parts->url ? m_parts->titles.value(*m_parts->url) : QString(),
                                  m_parts->url.has_value());
    m_parts->pages->setCurrentWidget(m_parts->address);
    if (loadAtOnce)
        loadPage();
}

void WebPreviewView::loadPage()
{
    if (!m_parts->url)
        return;
    if (!m_parts->view)
        m_parts->makeView(this);
    m_parts->loaded = *m_parts->url;
    m_parts->view->load(*m_parts->url);
    m_parts->pages->setCurrentWidget(m_parts->view);
}

WebAddressView* WebPreviewView::addressView() const
{
    return m_parts->address;
}
