#pragma once

#include "platform/GlobalShortcuts.h"

#include <QKeySequence>
#include <QObject>
#include <QString>
#include <functional>
#include <map>

class UserDefaults;

// Global shortcuts bound to user-defaults keys. Each bound key's stored shortcut (key sequence
// portable text, e.g. "Ctrl+Alt+V") is registered as a global shortcut whose action runs on the
// main thread, and registered again whenever the user defaults change: through setShortcut, or
// by another process writing their file. An absent or empty value registers nothing.
class ShortcutBindings : public QObject
{
    Q_OBJECT

public:
    // The defaults must outlive the bindings.
    ShortcutBindings(GlobalShortcuts& shortcuts, UserDefaults& defaults, QObject* parent = nullptr);
    // Unregisters every bound shortcut. The GlobalShortcuts must still exist.
    ~ShortcutBindings() override;

    QString settingsPath() const;

    // Runs the action each time the shortcut stored under the key is pressed; the description
    // says what it does, for desktops that list the shortcuts they hold. Binding a key again
    // replaces its action.
    void bind(const QString& key, const QString& description, std::function<void()> action);

    // The shortcut stored under the key, empty when none.
    QKeySequence shortcut(const QString& key) const;
    // Stores the shortcut under the key (an empty one removes the key) and writes the file at
    // once; a bound key is registered again.
    void setShortcut(const QString& key, const QKeySequence& sequence);
    // Why the stored shortcut of a bound key is not in effect; Refusal::None when it is, or when
    // none is stored.
    GlobalShortcuts::Refusal refusal(const QString& key) const;
    // Whether the session offers global shortcuts at all.
    bool isAvailable() const;

signals:
    // The stored shortcut of a bound key changed and has been registered again (successfully or
    // not: the reason of a refusal is logged), or the desktop has told what became of it.
    void shortcutChanged(const QString& key, const QKeySequence& sequence);
    void availabilityChanged(bool available);

private:
    struct Binding
    {
        std::function<void()> action;
        QKeySequence sequence;
    };

    void reload();
    void onActivated(const QString& id);

    GlobalShortcuts& m_shortcuts;
    UserDefaults& m_defaults;
    std::map<QString, Binding> m_bindings;
};
