#include "platform/xdg/ShortcutTrigger.h"

#include <QKeySequence>
#include <QLatin1StringView>
#include <QStringList>

namespace {
struct KeyName
{
    int key;
    const char* name;
};

// Keys whose keysym name is not their character.
constexpr KeyName keyNames[] = {
    {Qt::Key_Space, "space"},
    {Qt::Key_Escape, "Escape"},
    {Qt::Key_Tab, "Tab"},
    {Qt::Key_Backspace, "BackSpace"},
    {Qt::Key_Return, "Return"},
    {Qt::Key_Enter, "KP_Enter"},
    {Qt::Key_Insert, "Insert"},
    {Qt::Key_Delete, "Delete"},
    {Qt::Key_Pause, "Pause"},
    {Qt::Key_Print, "Print"},
    {Qt::Key_Home, "Home"},
    {Qt::Key_End, "End"},
    {Qt::Key_Left, "Left"},
    {Qt::Key_Up, "Up"},
    {Qt::Key_Right, "Right"},
    {Qt::Key_Down, "Down"},
    {Qt::Key_PageUp, "Prior"},
    {Qt::Key_PageDown, "Next"},
    {Qt::Key_Menu, "Menu"},
    {Qt::Key_Comma, "comma"},
    {Qt::Key_Period, "period"},
    {Qt::Key_Slash, "slash"},
    {Qt::Key_Backslash, "backslash"},
    {Qt::Key_Semicolon, "semicolon"},
    {Qt::Key_Apostrophe, "apostrophe"},
    {Qt::Key_QuoteLeft, "grave"},
    {Qt::Key_Minus, "minus"},
    {Qt::Key_Equal, "equal"},
    {Qt::Key_BracketLeft, "bracketleft"},
    {Qt::Key_BracketRight, "bracketright"},
};

QString keyName(int key)
{
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return QString(QChar(key)).toLower();
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return QString(QChar(key));
    if (key >= Qt::Key_F1 && key <= Qt::Key_F35)
        return QStringLiteral("F%1").arg(key - Qt::Key_F1 + 1);
    for (const KeyName& known : keyNames) {
        if (known.key == key)
            return QLatin1StringView(known.name);
    }
    return {};
}
} // namespace

QString ShortcutTrigger::fromKeySequence(const QKeySequence& sequence)
{
    if (sequence.isEmpty())
        return {};
    const QKeyCombination combination = sequence[0];
    const QString key = keyName(combination.key());
    if (key.isEmpty())
        return {};
    QStringList parts;
    const Qt::KeyboardModifiers modifiers = combination.keyboardModifiers();
    if (modifiers & Qt::ControlModifier)
        parts << QStringLiteral("CTRL");
    if (modifiers & Qt::AltModifier)
        parts << QStringLiteral("ALT");
    if (modifiers & Qt::ShiftModifier)
        parts << QStringLiteral("SHIFT");
    if (modifiers & Qt::MetaModifier)
        parts << QStringLiteral("LOGO");
    parts << key;
    return parts.join(QLatin1Char('+'));
}
