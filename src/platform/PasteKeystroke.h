#pragma once

#include <QString>

// Types the paste keystroke into the window that has the keyboard focus, as if the user pressed
// it there. Main thread.
class PasteKeystroke
{
public:
    // Ctrl+V pastes in most applications; terminals take Ctrl+Shift+V, Ctrl+V being a control
    // character for the program they run.
    enum class Keys { CtrlV, CtrlShiftV };

    virtual ~PasteKeystroke() = default;

    // Whether this session lets an application type into another's window. When it does not,
    // unavailableReason() says why, in words for the user.
    virtual bool available() const = 0;
    virtual QString unavailableReason() const { return {}; }

    // Whether the keystroke goes to the window the desktop's own activation has focused (X11),
    // rather than to whichever window the compositor gives the focus back to once this
    // application's window is gone (Wayland, where no application names another's window).
    virtual bool needsTargetWindow() const = 0;

    // Whether the user still holds Shift, Control, Alt or Super: a keystroke typed now would
    // carry them along. False where that cannot be known.
    virtual bool modifiersHeld() const { return false; }

    // Presses and releases the keys; true when they were sent.
    virtual bool send(Keys keys) = 0;
};
