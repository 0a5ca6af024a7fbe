#include "preferences/ShortcutRecorder.h"

#include <QKeyEvent>

ShortcutRecorder::ShortcutRecorder(QWidget* parent) : QKeySequenceEdit(parent)
{
    // The clear button is the one edit that reaches this widget other than as a key press.
    connect(this, &QKeySequenceEdit::keySequenceChanged, this, [this](const QKeySequence& shown) {
        if (shown.isEmpty() && !m_shortcut.isEmpty())
            record(QKeySequence());
    });
}

void ShortcutRecorder::setShortcut(const QKeySequence& shortcut)
{
    m_shortcut = shortcut;
    setKeySequence(shortcut);
}

void ShortcutRecorder::record(const QKeySequence& shortcut)
{
    setShortcut(shortcut);
    emit shortcutRecorded(shortcut);
}

// Every press is handled here, so the base class never starts a sequence of several
// combinations nor waits for one.
void ShortcutRecorder::keyPressEvent(QKeyEvent* event)
{
    event->accept();
    const QKeyCombination combination(event->modifiers() & ~Qt::KeypadModifier,
                                      Qt::Key(event->key()));
    const bool plain = !(combination.keyboardModifiers() &
                         (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    const int key = event->key();
    if (isModifier(key))
        return;
    if (plain && key == Qt::Key_Escape)
        setKeySequence(m_shortcut);
    else if (plain && (key == Qt::Key_Backspace || key == Qt::Key_Delete))
        record(QKeySequence());
    else if (plain && (key == Qt::Key_Tab || key == Qt::Key_Backtab))
        focusNextPrevChild(key == Qt::Key_Tab && !(event->modifiers() & Qt::ShiftModifier));
    else if (takesShortcut(combination))
        record(QKeySequence(combination));
}

void ShortcutRecorder::keyReleaseEvent(QKeyEvent* event)
{
    event->accept();
}

bool ShortcutRecorder::isModifier(int key)
{
    return key == Qt::Key_Control || key == Qt::Key_Shift || key == Qt::Key_Alt ||
           key == Qt::Key_Meta || key == Qt::Key_AltGr || key == Qt::Key_Super_L ||
           key == Qt::Key_Super_R || key == Qt::Key_Hyper_L || key == Qt::Key_Hyper_R ||
           key == Qt::Key_unknown;
}

bool ShortcutRecorder::takesShortcut(QKeyCombination combination)
{
    const Qt::KeyboardModifiers held = combination.keyboardModifiers();
    const Qt::Key key = combination.key();
    return (held & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) ||
           (key >= Qt::Key_F1 && key <= Qt::Key_F35);
}
