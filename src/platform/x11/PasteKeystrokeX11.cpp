#include "platform/x11/PasteKeystrokeX11.h"

#include "platform/x11/XcbReply.h"

#include <QCoreApplication>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>
#include <xcb/xtest.h>

namespace {
constexpr uint32_t keysymControl = 0xffe3; // Control_L
constexpr uint32_t keysymShift = 0xffe1;   // Shift_L
constexpr uint32_t keysymV = 0x0076;       // v
constexpr uint16_t heldModifiers =
    XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | XCB_MOD_MASK_4;
} // namespace

PasteKeystrokeX11::PasteKeystrokeX11(xcb_connection_t* connection, uint32_t rootWindow)
    : m_connection(connection), m_root(rootWindow)
{
    const xcb_query_extension_reply_t* xtest = xcb_get_extension_data(connection, &xcb_test_id);
    m_available = xtest && xtest->present;
}

QString PasteKeystrokeX11::unavailableReason() const
{
    return QCoreApplication::translate(
        "PasteKeystrokeX11", "The X server offers no XTest extension, so Vantrel only copies the "
                             "item: paste it with Ctrl+V.");
}

bool PasteKeystrokeX11::modifiersHeld() const
{
    const XcbReply<xcb_query_pointer_reply_t> pointer(
        xcb_query_pointer_reply(m_connection, xcb_query_pointer(m_connection, m_root), nullptr));
    return pointer && (pointer->mask & heldModifiers) != 0;
}

// Modifiers first, the letter, then everything released in the reverse order.
bool PasteKeystrokeX11::send(Keys keys)
{
    if (!m_available)
        return false;
    const uint8_t control = keycode(keysymControl);
    const uint8_t shift = keycode(keysymShift);
    const uint8_t v = keycode(keysymV);
    const bool withShift = keys == Keys::CtrlShiftV;
    if (control == 0 || v == 0 || (withShift && shift == 0))
        return false;
    fake(XCB_KEY_PRESS, control);
    if (withShift)
        fake(XCB_KEY_PRESS, shift);
    fake(XCB_KEY_PRESS, v);
    fake(XCB_KEY_RELEASE, v);
    if (withShift)
        fake(XCB_KEY_RELEASE, shift);
    fake(XCB_KEY_RELEASE, control);
    xcb_flush(m_connection);
    return xcb_connection_has_error(m_connection) == 0;
}

// The keyboard mapping is read afresh each time: the user may have switched layouts since.
uint8_t PasteKeystrokeX11::keycode(uint32_t keysym) const
{
    xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(m_connection);
    if (!symbols)
        return 0;
    xcb_keycode_t* codes = xcb_key_symbols_get_keycode(symbols, keysym);
    const uint8_t code = codes ? codes[0] : 0;
    std::free(codes);
    xcb_key_symbols_free(symbols);
    return code;
}

void PasteKeystrokeX11::fake(uint8_t type, uint8_t keycode) const
{
    xcb_test_fake_input(m_connection, type, keycode, XCB_CURRENT_TIME, XCB_WINDOW_NONE, 0, 0, 0);
}
