#pragma once

#include <QString>
#include <functional>

class QUrl;
class QWidget;

// A live web page in the preview, made by the browser-engine plug-in (WebPagePlugin). Plain
// virtual functions and no signals, so that the plug-in needs nothing of the program but this
// header, and the program nothing of the engine.
class WebPage
{
public:
    using TitleHandler = std::function<void(const QString& title)>;

    virtual ~WebPage() = default;

    // The widget that shows the page: a child of the parent the page was made in, which owns it.
    virtual QWidget* widget() = 0;
    virtual void load(const QUrl& url) = 0;
    // Stops the page, leaving nothing of it on screen.
    virtual void clear() = 0;
};

// The plug-in's one entry point, exported under the name below: a page made in `parent`, which
// reports each title the page takes to `onTitle`.
using WebPageMaker = WebPage* (*)(QWidget* parent, WebPage::TitleHandler onTitle);
inline constexpr char webPageMakerName[] = "vantrelMakeWebPage";
