#pragma once

#include "browser/WebPage.h"

#include <QWebEngineView>

// The live web page on Qt WebEngine, in a private profile that keeps nothing on disk. Built as
// the plug-in that the program loads on the first page the user asks for.
class WebEnginePage : public QWebEngineView, public WebPage
{
    Q_OBJECT

public:
    WebEnginePage(QWidget* parent, TitleHandler onTitle);

    QWidget* widget() override;
    void load(const QUrl& url) override;
    void clear() override;
};
