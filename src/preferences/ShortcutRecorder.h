#pragma once

#include <QKeySequence>
#include <QKeySequenceEdit>

// Records one key combination for a global shortcut, complete as soon as its key is pressed.
// Escape gives back the shortcut held before; Backspace, Delete and the clear button remove it.
// A key without Ctrl, Alt or Super (the function keys aside) is not taken: grabbed for the
// whole desktop it would no longer reach any other application. Tab moves on, as elsewhere.
class ShortcutRecorder : public QKeySequenceEdit
{
    Q_OBJECT

public:
    explicit ShortcutRecorder(QWidget* parent = nullptr);

    QKeySequence shortcut() const { return m_shortcut; }
    // Shows the shortcut without reporting it.
    void setShortcut(const QKeySequence& shortcut);

signals:
    // The user recorded this shortcut, or removed it (empty).
    void shortcutRecorded(const QKeySequence& shortcut);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void record(const QKeySequence& shortcut);
    static bool isModifier(int key);
    static bool takesShortcut(QKeyCombination combination);

    QKeySequence m_shortcut;
};
