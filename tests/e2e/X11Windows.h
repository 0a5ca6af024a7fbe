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
