#include "shell/WindowsOnDemand.h"

WindowsOnDemand::WindowsOnDemand(Factory factory) : m_factory(std::move(factory)) {}

WindowCommands& WindowsOnDemand::windows()
{
    if (!m_windows) {
        m_windows = &m_factory();
        if (m_noTrayNoticeAsked)
            m_windows->showNoTrayNotice();
        if (m_welcomeAsked)
            m_windows->showWelcome();
    }
    return *m_windows;
}

void WindowsOnDemand::showMainWindow()
{
    windows().showMainWindow();
}

void WindowsOnDemand::showMiniWindow()
{
    windows().showMiniWindow();
}

// Before the windows are made, no window was brought up yet: the main window comes, as it
// would have.
void WindowsOnDemand::handleReopenWindow()
{
    windows().handleReopenWindow();
}

void WindowsOnDemand::showNoTrayNotice()
{
    if (m_windows)
        m_windows->showNoTrayNotice();
    else
        m_noTrayNoticeAsked = true;
}

void WindowsOnDemand::showWelcome()
{
    if (m_windows)
        m_windows->showWelcome();
    else
        m_welcomeAsked = true;
}
