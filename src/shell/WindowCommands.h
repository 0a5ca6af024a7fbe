#pragma once

// What the shell asks of the windows (tray menu, global shortcuts, later starts of `vantrel`).
// The window layer implements it and the composition root hands that implementation to the
// AppDelegate, so the shell names no window class.
class WindowCommands
{
public:
    virtual ~WindowCommands() = default;

    // Each brings its window up, closes the other and makes the application active.
    virtual void showMainWindow() = 0;
    virtual void showMiniWindow() = 0;
    // Brings up the window last brought up by the two above: the mini window when it was, else
    // the main window.
    virtual void handleReopenWindow() = 0;
    // Says in the main window how to reach Vantrel again where the desktop shows no tray.
    virtual void showNoTrayNotice() = 0;
    // The first run's welcome in the main window: how to call Vantrel up, and the offer to start
    // it at log-in.
    virtual void showWelcome() = 0;
};
