#include "webpreview/WebEnginePage.h"

#include <QLoggingCategory>
#include <QQuickWindow>
#include <QWebEnginePage>
#include <QWebEngineProfile>

namespace {
QLoggingCategory::CategoryFilter otherFilters = nullptr;

// Qt WebEngine 6.4 reports the shared OpenGL context it started with on its category
// "qt.webenginecontext", and crashes doing so when there is none, as here. Its report is kept
// off; the other categories are left as they were.
void withoutContextReport(QLoggingCategory* category)
{
    if (otherFilters)
        otherFilters(category);
    if (qstrcmp(category->categoryName(), "qt.webenginecontext") == 0)
        category->setEnabled(QtInfoMsg, false);
}

// The engine is loaded long after the application started, so it cannot share OpenGL contexts
// with the windows (that takes an attribute set before the application object exists). It
// draws in software instead: Chromium then composites without the GPU, and the page's widget
// paints like any other, so the window that shows it is never re-created for OpenGL (it visibly
// jumped when it was).
void drawInSoftware()
{
    static const bool chosen = [] {
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
        otherFilters = QLoggingCategory::installFilter(withoutContextReport);
        return true;
    }();
    Q_UNUSED(chosen);
}
} // namespace

WebEnginePage::WebEnginePage(QWidget* parent, TitleHandler onTitle) : QWebEngineView(parent)
{
    // Made after the view, so deleted after it (children go in the order they came) and after
    // the page that uses it. Without a storage name the profile is off the record: previewed
    // pages leave no cookies or cache behind.
    auto* profile = new QWebEngineProfile(parent);
    setPage(new QWebEnginePage(profile, this));
    connect(this, &QWebEngineView::titleChanged, this, std::move(onTitle));
}

QWidget* WebEnginePage::widget()
{
    return this;
}

void WebEnginePage::load(const QUrl& url)
{
    QWebEngineView::load(url);
}

void WebEnginePage::clear()
{
    setUrl(QUrl(QStringLiteral("about:blank")));
}

extern "C" Q_DECL_EXPORT WebPage* vantrelMakeWebPage(QWidget* parent, WebPage::TitleHandler onTitle)
{
    drawInSoftware();
    return new WebEnginePage(parent, std::move(onTitle));
}
static_assert(std::is_same_v<decltype(&vantrelMakeWebPage), WebPageMaker>);
