#pragma once

#include "shell/WindowCommands.h"

#include <functional>

// The windows, made the first time a command needs one: building the main window and its pages
// is the largest part of a start-up that otherwise only answers the companion client and shows
// the tray icon. The notices asked for before then (the welcome, the word on a missing tray) are
// kept and given to the windows when they are made. Main thread only.
class WindowsOnDemand : public WindowCommands
{
public:
    // Makes the windows, once, and returns their commands; what it returns must outlive this.
    using Factory = std::function<WindowCommands&()>;

    explicit WindowsOnDemand(Factory factory);

    void showMainWindow() override;
    void showMiniWindow() override;
    void handleReopenWindow() override;
    void showNoTrayNotice() override;
    void showWelcome() override;

private:
    WindowCommands& windows();

    Factory m_factory;
    WindowCommands* m_windows = nullptr;
    bool m_noTrayNoticeAsked = false;
    bool m_welcomeAsked = false;
};
