#include "platform/ApplicationStateQt.h"

#include <QGuiApplication>
#include <QWindow>

// Qt on Wayland is not always told that a window it hid had the keyboard focus, and then still
// says the application is active, with the hidden window as its focus window; on X11 it says so
// for a moment after its last window lost the focus, in case another of its windows takes it.
// Vantrel is active while the window that holds its focus is shown (a minimised one is not): a
// main window left open beside the application the user works in does not count.
bool ApplicationStateQt::isActive() const
{
    if (QGuiApplication::applicationState() != Qt::ApplicationActive)
        return false;
    // The focus may be in a native child of a window: that window is what the user sees.
    const QWindow* window = QGuiApplication::focusWindow();
    while (window && window->parent())
        window = window->parent();
    return window && window->isVisible() && window->visibility() != QWindow::Minimized;
}
