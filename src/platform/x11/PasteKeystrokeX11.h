#pragma once

#include "platform/PasteKeystroke.h"

#include <cstdint>

struct xcb_connection_t;

// Types the paste keystroke through the X server's test extension (XTest), as a key press on
// the keyboard would: it goes to the window holding the input focus. The user's own modifiers
// are read from the server.
class PasteKeystrokeX11 : public PasteKeystroke
{
public:
    // The connection is not owned; it must outlive this object.
    PasteKeystrokeX11(xcb_connection_t* connection, uint32_t rootWindow);

    bool available() const override { return m_available; }
    QString unavailableReason() const override;
    bool needsTargetWindow() const override { return true; }
    bool modifiersHeld() const override;
    bool send(Keys keys) override;

private:
    uint8_t keycode(uint32_t keysym) const;
    void fake(uint8_t type, uint8_t keycode) const;

    xcb_connection_t* m_connection;
    uint32_t m_root;
    bool m_available;
};
