#pragma once

#include <QtGlobal>

// A top-level window of the desktop, named by the platform's id for it (an X11 window id). The
// id is 0 where no window is known; such a window is not valid and names nothing.
struct DesktopWindow
{
    quint64 id = 0;

    bool isValid() const { return id != 0; }
    friend bool operator==(DesktopWindow, DesktopWindow) = default;
};
