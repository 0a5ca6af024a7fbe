#pragma once

#include "platform/DesktopWindow.h"

#include <QString>
#include <QStringList>

// The desktop the application runs in: its windows, which one the user works in, and the
// application each belongs to. Main thread.
class Workspace
{
public:
    virtual ~Workspace() = default;

    // The window the user works in (the one with the keyboard focus); invalid when none is known.
    virtual DesktopWindow activeWindow() const = 0;

    // An identifier of the application a window belongs to: its application id or desktop-file
    // id where one can be found, else its window class. The empty string when nothing is known
    // (an invalid window, one that has gone).
    virtual QString applicationId(DesktopWindow window) const = 0;

    // Asks the desktop to raise the window and give it the focus, as a click on it in a task bar
    // would. True when the desktop was asked; the window manager decides, so the window shows as
    // active a moment later, if at all.
    virtual bool activateWindow(DesktopWindow window) = 0;

    // The applications of the windows the desktop lists (its task bar's), each once, in the
    // desktop's order; empty where windows cannot be listed.
    virtual QStringList runningApplicationIds() const = 0;

    // The application the user is working in (the one that made a clipboard change).
    QString activeApplicationId() const { return applicationId(activeWindow()); }
};
