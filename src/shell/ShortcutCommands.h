#pragma once

#include <QCoreApplication>
#include <QString>

// Where Vantrel cannot bind global shortcuts itself, the desktop's own keyboard settings can run
// a command that reaches the running Vantrel. This says which commands, and where the desktop
// keeps those settings.
class ShortcutCommands
{
    Q_DECLARE_TR_FUNCTIONS(ShortcutCommands)

public:
    // The commands that bring up the main and the mini window: `vantrel` by name when that name
    // finds this program, else by its full path.
    static QString showMainCommand();
    static QString showMiniCommand();

    // Where to add a shortcut for a command on the desktop named as $XDG_CURRENT_DESKTOP names
    // it (a colon-separated list, most specific first), in the user's language.
    static QString whereToBind(const QString& currentDesktop);
    // The same for the running session.
    static QString whereToBind();

private:
    static QString program();
};
