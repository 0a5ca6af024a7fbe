#include "browser/WebPreviewView.h"

#include "browser/WebAddressView.h"
#include "browser/WebPage.h"
#include "browser/WebPagePlugin.h"
#include "shell/Utils.h"

#include <QHash>
#include <QStackedLayout>

namespace {
// Titles of pages loaded in this run, kept in memory only; past this many they start again.
constexpr qsizetype rememberedTitles = 256;
} // namespace

struct WebPreviewView::Parts
{
    explicit Parts(WebPagePlugin& pagePlugin) : plugin(pagePlugin) {}

    WebPagePlugin& plugin;
    QStackedLayout* pages = nullptr;
    WebAddressView* address = nullptr;
    // Made on the first load, so the engine is never even loaded for an address only looked at.
    WebPage* page = nullptr;
    PBContentPtr item;
    std::optional<QUrl> url;
    // The address of the page being shown, whose title is remembered; none while the address
    // view shows.
    QUrl loaded;
    QHash<QUrl, QString> titles;

    bool makePage(WebPreviewView* owner);
    void rememberTitle(const QString& title);
};

bool WebPreviewView::Parts::makePage(WebPreviewView* owner)
{
    page = plugin.makePage(owner, [this](const QString& title) { rememberTitle(title); });
    if (!page)
        return false;
    QWidget* view = page->widget();
    view->setObjectName(QStringLiteral("webPage"));
    view->setAccessibleName(WebPreviewView::tr("Web page"));
    pages->addWidget(view);
    return true;
}

// Chromium names a page without a title by its address; that is no title.
void WebPreviewView::Parts::rememberTitle(const QString& title)
{
    if (loaded.isEmpty() || title.isEmpty() || loaded.toString().contains(title))
        return;
    if (titles.size() >= rememberedTitles)
        titles.clear();
    titles.insert(loaded, title);
    page->widget()->setAccessibleDescription(title);
}

WebPreviewView::WebPreviewView(QWidget* parent) : WebPreviewView(WebPagePlugin::installed(), parent)
{}

WebPreviewView::WebPreviewView(WebPagePlugin& plugin, QWidget* parent)
    : QWidget(parent), m_parts(std::make_unique<Parts>(plugin))
{
    setAccessibleName(tr("Web page"));
    m_parts->pages = new QStackedLayout(this);
    m_parts->pages->setContentsMargins(0, 0, 0, 0);
    m_parts->address = new WebAddressView(plugin.isAvailable(), this);
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
    if (m_parts->page)
        m_parts->page->clear();
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
    if (!m_parts->url || !m_parts->plugin.isAvailable())
        return;
    if (!m_parts->page && !m_parts->makePage(this))
        return;
    m_parts->loaded = *m_parts->url;
    m_parts->page->load(*m_parts->url);
    m_parts->pages->setCurrentWidget(m_parts->page->widget());
}

WebAddressView* WebPreviewView::addressView() const
{
    return m_parts->address;
}
