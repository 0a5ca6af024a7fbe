#include "platform/ApplicationStateQt.h"

#include <QGuiApplication>
#include <QWindow>
#include <algorithm>

// Qt on Wayland is not always told that a window it hid had the keyboard focus, and then still
// says the application is active; on X11 it says so for a moment after its last window lost the
// focus, in case another of its windows takes it. With none of its windows shown (a minimised
// window is not), the user works elsewhere.
bool ApplicationStateQt::isActive() const
{
    if (QGuiApplication::applicationState() != Qt::ApplicationActive)
        return false;
    const QWindowList windows = QGuiApplication::topLevelWindows();
    return std::any_of(windows.cbegin(), windows.cend(), [](const QWindow* window) {
        return window->isVisible() && window->visibility() != QWindow::Minimized;
    });
}
