#include "platform/x11/KeyMappingX11.h"

#include <QChar>
#include <QKeySequence>
#include <X11/XF86keysym.h>
#include <X11/keysym.h>
#include <xcb/xproto.h>

namespace {
struct KeyPair
{
    int key;
    uint32_t keysym;
};

// Keys off the keypad whose Qt key is not their character code.
constexpr KeyPair functionKeys[] = {
    {Qt::Key_Escape, XK_Escape},
    {Qt::Key_Tab, XK_Tab},
    {Qt::Key_Backtab, XK_ISO_Left_Tab},
    {Qt::Key_Backspace, XK_BackSpace},
    {Qt::Key_Return, XK_Return},
    {Qt::Key_Enter, XK_KP_Enter},
    {Qt::Key_Insert, XK_Insert},
    {Qt::Key_Delete, XK_Delete},
    {Qt::Key_Pause, XK_Pause},
    {Qt::Key_Print, XK_Print},
    {Qt::Key_SysReq, XK_Sys_Req},
    {Qt::Key_Clear, XK_Clear},
    {Qt::Key_Home, XK_Home},
    {Qt::Key_End, XK_End},
    {Qt::Key_Left, XK_Left},
    {Qt::Key_Up, XK_Up},
    {Qt::Key_Right, XK_Right},
    {Qt::Key_Down, XK_Down},
    {Qt::Key_PageUp, XK_Prior},
    {Qt::Key_PageDown, XK_Next},
    {Qt::Key_Menu, XK_Menu},
    {Qt::Key_Help, XK_Help},
    {Qt::Key_VolumeDown, XF86XK_AudioLowerVolume},
    {Qt::Key_VolumeMute, XF86XK_AudioMute},
    {Qt::Key_VolumeUp, XF86XK_AudioRaiseVolume},
    {Qt::Key_MediaPlay, XF86XK_AudioPlay},
    {Qt::Key_MediaStop, XF86XK_AudioStop},
    {Qt::Key_MediaPrevious, XF86XK_AudioPrev},
    {Qt::Key_MediaNext, XF86XK_AudioNext},
    {Qt::Key_Calculator, XF86XK_Calculator},
};

// Keys with the keypad modifier. Without NumLock the keypad's digit keys produce the
// navigation keysyms, which Qt reports as the navigation keys on the keypad.
constexpr KeyPair keypadKeys[] = {
    {Qt::Key_Asterisk, XK_KP_Multiply},
    {Qt::Key_Plus, XK_KP_Add},
    {Qt::Key_Comma, XK_KP_Separator},
    {Qt::Key_Minus, XK_KP_Subtract},
    {Qt::Key_Period, XK_KP_Decimal},
    {Qt::Key_Slash, XK_KP_Divide},
    {Qt::Key_Equal, XK_KP_Equal},
    {Qt::Key_Enter, XK_KP_Enter},
    {Qt::Key_Space, XK_KP_Space},
    {Qt::Key_Tab, XK_KP_Tab},
    {Qt::Key_Home, XK_KP_Home},
    {Qt::Key_Left, XK_KP_Left},
    {Qt::Key_Up, XK_KP_Up},
    {Qt::Key_Right, XK_KP_Right},
    {Qt::Key_Down, XK_KP_Down},
    {Qt::Key_PageUp, XK_KP_Prior},
    {Qt::Key_PageDown, XK_KP_Next},
    {Qt::Key_End, XK_KP_End},
    {Qt::Key_Clear, XK_KP_Begin},
    {Qt::Key_Insert, XK_KP_Insert},
    {Qt::Key_Delete, XK_KP_Delete},
};

template <std::size_t N> std::optional<uint32_t> lookUp(const KeyPair (&table)[N], int key)
{
    for (const KeyPair& pair : table) {
        if (pair.key == key)
            return pair.keysym;
    }
    return std::nullopt;
}

// Qt's keys below its special range are Unicode characters, upper-case for letters. X11 names
// Latin-1 characters by their code and every other character by 0x01000000 plus its code.
std::optional<uint32_t> keysymOfCharacter(int key)
{
    if (key < 0x20 || key > 0x10ffff || (key >= 0x7f && key < 0xa0))
        return std::nullopt;
    const char32_t lower = QChar::toLower(char32_t(key));
    return lower <= 0xff ? lower : 0x01000000 | lower;
}

uint16_t modifierMask(Qt::KeyboardModifiers modifiers)
{
    uint16_t mask = 0;
    if (modifiers & Qt::ShiftModifier)
        mask |= XCB_MOD_MASK_SHIFT;
    if (modifiers & Qt::ControlModifier)
        mask |= XCB_MOD_MASK_CONTROL;
    if (modifiers & Qt::AltModifier)
        mask |= XCB_MOD_MASK_1;
    if (modifiers & Qt::MetaModifier)
        mask |= XCB_MOD_MASK_4;
    return mask;
}
} // namespace

std::optional<X11KeyCombination> KeyMappingX11::fromKeySequence(const QKeySequence& sequence)
{
    if (sequence.isEmpty())
        return std::nullopt;
    const QKeyCombination combination = sequence[0];
    const std::optional<uint32_t> keysym =
        keysymOfKey(combination.key(), combination.keyboardModifiers() & Qt::KeypadModifier);
    if (!keysym)
        return std::nullopt;
    return X11KeyCombination{*keysym, modifierMask(combination.keyboardModifiers())};
}

std::optional<uint32_t> KeyMappingX11::keysymOfKey(int key, bool keypad)
{
    if (keypad) {
        if (key >= Qt::Key_0 && key <= Qt::Key_9)
            return XK_KP_0 + (key - Qt::Key_0);
        return lookUp(keypadKeys, key);
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F35)
        return XK_F1 + (key - Qt::Key_F1);
    if (key < Qt::Key_Escape)
        return keysymOfCharacter(key);
    return lookUp(functionKeys, key);
}
