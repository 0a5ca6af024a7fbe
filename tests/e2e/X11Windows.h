#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// What the X server shows, as the window manager sees it.

// True when a shown window has exactly this title.
inline bool windowShown(const QString& title)
{
    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"),
                  {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                   QStringLiteral("--name"), u'^' + title + u'$'});
    return xdotool.waitForFinished() && xdotool.exitCode() == 0;
}

inline QString activeWindowTitle()
{
    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"),
                  {QStringLiteral("getactivewindow"), QStringLiteral("getwindowname")});
    xdotool.waitForFinished();
    return QString::fromUtf8(xdotool.readAllStandardOutput()).trimmed();
}

// A click of the first button at a point of the shown window with this title, in the window's
// own coordinates; false when no such window is shown.
inline bool clickInWindow(const QString& title, int x, int y)
{
    QProcess search;
    search.start(QStringLiteral("xdotool"),
                 {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                  QStringLiteral("--name"), u'^' + title + u'$'});
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
