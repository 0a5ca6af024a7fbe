#pragma once

#include <QString>

class QKeySequence;

// The desktop portal's written form of a key combination, as the freedesktop.org shortcuts
// convention has it: the modifiers CTRL, ALT, SHIFT and LOGO, then the key's keysym name, joined
// by "+" ("CTRL+ALT+v"). Letters are the lower-case keysyms a key's first level produces.
class ShortcutTrigger
{
public:
    // The first combination of the sequence; empty for an empty sequence, a modifier alone or a
    // key that has no keysym name here (the desktop then asks the user for one).
    static QString fromKeySequence(const QKeySequence& sequence);
};
