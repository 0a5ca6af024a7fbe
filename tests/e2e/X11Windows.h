#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// What the X server shows, as the window manager sees it. The window manager is given each title
// followed by " — Vantrel", the application's name, unless it already ends with the name; these
// helpers speak of the windows' own titles.

// The pattern of xdotool's search for the window titled `title`.
inline QString titlePattern(const QString& title)
{
    return u'^' + title + QStringLiteral("( \u2014 Vantrel)?$");
}

// True when a shown window has exactly this title.
inline bool windowShown(const QString& title)
{
    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"),
                  {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                   QStringLiteral("--name"), titlePattern(title)});
    return xdotool.waitForFinished() && xdotool.exitCode() == 0;
}

inline QString activeWindowTitle()
{
    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"),
                  {QStringLiteral("getactivewindow"), QStringLiteral("getwindowname")});
    xdotool.waitForFinished();
    QString title = QString::fromUtf8(xdotool.readAllStandardOutput()).trimmed();
    const QString suffix = QStringLiteral(" \u2014 Vantrel");
    if (title.endsWith(suffix))
        title.chop(suffix.size());
    return title;
}

// A click of the first button at a point of the shown window with this title, in the window's
// own coordinates; false when no such window is shown.
inline bool clickInWindow(const QString& title, int x, int y)
{
    QProcess search;
    search.start(QStringLiteral("xdotool"),
                 {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                  QStringLiteral("--name"), titlePattern(title)});
    search.waitForFinished();
    const QString window = QString::fromUtf8(search.readAllStandardOutput()).section(u'\n', 0, 0);
    if (window.isEmpty())
        return false;
    QProcess click;
    click.start(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QStringLiteral("--window"),
                                            window, QString::number(x), QString::number(y),
                                            QStringLiteral("click"), QStringLiteral("1")});
    return click.waitForFinished() && click.exitCode() == 0;
}
