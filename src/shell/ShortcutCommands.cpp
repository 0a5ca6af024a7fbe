#include "shell/ShortcutCommands.h"

#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>

QString ShortcutCommands::showMainCommand()
{
    return program() + QStringLiteral(" --show-main");
}

QString ShortcutCommands::showMiniCommand()
{
    return program() + QStringLiteral(" --show-mini");
}

// A build run from its folder is not on the PATH; the command must still reach it.
QString ShortcutCommands::program()
{
    const QString running = QCoreApplication::applicationFilePath();
    const QString name = QStringLiteral("vantrel");
    const QString found = QStandardPaths::findExecutable(name);
    if (!found.isEmpty() &&
        QFileInfo(found).canonicalFilePath() == QFileInfo(running).canonicalFilePath())
        return name;
    return running.contains(QLatin1Char(' ')) ? QLatin1Char('"') + running + QLatin1Char('"')
                                              : running;
}

QString ShortcutCommands::whereToBind()
{
    return whereToBind(qEnvironmentVariable("XDG_CURRENT_DESKTOP"));
}

QString ShortcutCommands::whereToBind(const QString& currentDesktop)
{
    const QStringList desktops = currentDesktop.toLower().split(QLatin1Char(':'));
    for (const QString& desktop : desktops) {
        if (desktop == QLatin1String("gnome") || desktop == QLatin1String("ubuntu") ||
            desktop == QLatin1String("budgie"))
            return tr("In GNOME: Settings → Keyboard → View and Customize Shortcuts → Custom "
                      "Shortcuts, then add one shortcut for each command.");
        if (desktop == QLatin1String("kde"))
            return tr("In KDE Plasma: System Settings → Keyboard → Shortcuts → Add New → "
                      "Command or Script, then add one shortcut for each command.");
        if (desktop == QLatin1String("xfce"))
            return tr("In Xfce: Settings → Keyboard → Application Shortcuts, then add one "
                      "shortcut for each command.");
        if (desktop == QLatin1String("x-cinnamon") || desktop == QLatin1String("cinnamon"))
            return tr("In Cinnamon: System Settings → Keyboard → Shortcuts → Custom Shortcuts, "
                      "then add one shortcut for each command.");
        if (desktop == QLatin1String("sway"))
            return tr("In sway: add a line such as “bindsym Ctrl+Alt+v exec %1” to "
                      "~/.config/sway/config, then reload sway.")
                .arg(showMiniCommand());
        if (desktop == QLatin1String("hyprland"))
            return tr("In Hyprland: add a line such as “bind = CTRL ALT, V, exec, %1” to "
                      "~/.config/hypr/hyprland.conf.")
                .arg(showMiniCommand());
    }
    return tr("Add one shortcut for each command in your desktop's keyboard settings.");
}
