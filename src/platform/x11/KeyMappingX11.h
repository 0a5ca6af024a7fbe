#pragma once

#include <cstdint>
#include <optional>

class QKeySequence;

// The X11 form of a shortcut: the keysym of its key and the core modifier mask (Shift, Control,
// Mod1 for Alt, Mod4 for Meta/Super). Letters are the lower-case keysyms, as a keyboard's first
// level produces them; Shift is carried by the mask.
struct X11KeyCombination
{
    uint32_t keysym = 0;
    uint16_t modifiers = 0;

    friend bool operator==(const X11KeyCombination&, const X11KeyCombination&) = default;
};

// Maps a key sequence's first combination to its X11 form. Needs no display.
class KeyMappingX11
{
public:
    // Nothing for an empty sequence, a modifier alone, or a key X11 has no keysym for.
    static std::optional<X11KeyCombination> fromKeySequence(const QKeySequence& sequence);

private:
    static std::optional<uint32_t> keysymOfKey(int key, bool keypad);
};
