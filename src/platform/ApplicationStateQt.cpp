#include "platform/ApplicationStateQt.h"

#include <QGuiApplication>
#include <QWindow>
#include <algorithm>

// Qt on Wayland is not always told that a window it hid had the keyboard focus, and then still
// says the application is active: with none of its windows shown, the user works elsewhere.
bool ApplicationStateQt::isActive() const
{
    if (QGuiApplication::applicationState() != Qt::ApplicationActive)
        return false;
    const QWindowList windows = QGuiApplication::topLevelWindows();
    return std::any_of(windows.cbegin(), windows.cend(),
                       [](const QWindow* window) { return window->isVisible(); });
}
