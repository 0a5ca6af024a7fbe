#pragma once

#include "browser/WebPage.h"

#include <QLibrary>
#include <QStringList>

// The browser engine, with Qt Quick, QML and a GL driver behind it, weighs several times the rest
// of the program, and most days no page is previewed: it lives in a plug-in that is loaded on the
// first page the user asks for. Where no plug-in is found (a build without Qt WebEngine, or an
// installation without it), no page can be loaded and web addresses show as their text.
class WebPagePlugin
{
public:
    // The plug-in of this program: in Qt's library paths (the program's own folder, where a build
    // puts it, and those of QT_PLUGIN_PATH), else in the installed program's plug-in folder.
    static WebPagePlugin& installed();

    // The first of `folders` that holds the plug-in's file is the one used.
    explicit WebPagePlugin(const QStringList& folders);

    // The plug-in's file name, the same in every folder.
    static QString fileName();

    // The plug-in's file is there; whether it loads is known only by making a page.
    bool isAvailable() const;
    // A page made in `parent`, loading the plug-in on the first call (and switching the engine's
    // sandbox off when running as root, which Chromium refuses otherwise); nullptr when the
    // plug-in is missing or does not load.
    WebPage* makePage(QWidget* parent, WebPage::TitleHandler onTitle);

private:
    WebPageMaker maker();

    QString m_file;
    QLibrary m_library;
    WebPageMaker m_maker = nullptr;
    bool m_tried = false;
};
