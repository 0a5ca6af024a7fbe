#pragma once

#include "platform/DesktopWindow.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>

class PasteKeystroke;
class SettingsModel;
class Workspace;

// Pastes a chosen item into the application the user called Vantrel's window from. It remembers
// the window that was active when a window of Vantrel was called; once the item is on the
// clipboard and Vantrel's window is gone, it activates that window again and, as soon as the
// desktop shows it active and the user has let go of every modifier, types the paste keystroke
// there (Ctrl+Shift+V in a terminal). Where the desktop names no windows (Wayland) the keystroke
// goes to whichever window the compositor gives the focus back to. Nothing is pasted into
// Vantrel's own windows, nor when the remembered window has gone, nor after giveUpMs. Main
// thread.
class PasteToApplication : public QObject
{
    Q_OBJECT

public:
    // Which window the item was chosen in: each has its own preference.
    enum class Origin { MiniWindow, MainWindow };

    static constexpr int giveUpMs = 2000;
    static constexpr int lookIntervalMs = 15;
    // Where windows are not named: how long the compositor is given to move the focus once
    // Vantrel's window has gone (a window that is unmapped may not be told that it lost the
    // focus, and none of Vantrel's being shown says nothing of where the focus went).
    static constexpr int focusSettleMs = 250;

    // What it works with; all must outlive it.
    struct Services
    {
        Workspace& workspace;
        PasteKeystroke& keystroke;
        const SettingsModel& settings;
        // Whether a desktop window is one of this application's; by default, one of its
        // top-level Qt windows.
        std::function<bool(DesktopWindow)> isOwnWindow = {};
    };

    explicit PasteToApplication(const Services& services, QObject* parent = nullptr);

    // Called as a window of Vantrel is called up: remembers the window the user works in, unless
    // it is one of Vantrel's own (the remembered one then stays).
    void rememberActiveWindow();
    DesktopWindow rememberedWindow() const { return m_remembered; }

    // Whether choosing an item in that window pastes it: its preference is on and the session
    // lets Vantrel type into another application.
    bool pastesFrom(Origin origin) const;

    // Pastes what the clipboard holds now into the remembered window; the caller has put the
    // item there and closed its window. A paste still waiting is given up for this one.
    void paste();

signals:
    // The keystroke was typed (true), or the paste was given up (false).
    void finished(bool pasted);

private:
    void look();
    bool targetReady() const;
    void finish(bool pasted);
    static bool isTopLevelQtWindow(DesktopWindow window);

    Services m_services;
    DesktopWindow m_remembered;
    DesktopWindow m_target;
    QTimer m_timer;
    QElapsedTimer m_waiting;
};
