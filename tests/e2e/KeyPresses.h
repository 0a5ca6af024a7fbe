#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// Presses keys as the user would ("ctrl+alt+v", "Num_Lock"), through the X server's test
// extension, and returns once they are sent.
inline bool pressKeys(const QString& keys)
{
    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"), {QStringLiteral("key"), keys});
    return xdotool.waitForFinished() && xdotool.exitCode() == 0;
}
