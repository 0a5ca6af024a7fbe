#include "shell/ShortcutBindings.h"

#include "platform/GlobalShortcuts.h"
#include "storage/UserDefaults.h"

#include <QStringList>

ShortcutBindings::ShortcutBindings(GlobalShortcuts& shortcuts, UserDefaults& defaults,
                                   QObject* parent)
    : QObject(parent), m_shortcuts(shortcuts), m_defaults(defaults)
{
    connect(&m_defaults, &UserDefaults::changed, this, &ShortcutBindings::reload);
    connect(&m_shortcuts, &GlobalShortcuts::activated, this, &ShortcutBindings::onActivated);
    connect(&m_shortcuts, &GlobalShortcuts::refusalChanged, this, [this](const QString& id) {
        const auto found = m_bindings.find(id);
        if (found != m_bindings.end())
            emit shortcutChanged(id, found->second.sequence);
    });
    connect(&m_shortcuts, &GlobalShortcuts::availabilityChanged, this,
            &ShortcutBindings::availabilityChanged);
}

ShortcutBindings::~ShortcutBindings()
{
    for (const auto& [key, binding] : m_bindings)
        m_shortcuts.unregisterShortcut(key);
}

QString ShortcutBindings::settingsPath() const
{
    return m_defaults.path();
}

void ShortcutBindings::bind(const QString& key, const QString& description,
                            std::function<void()> action)
{
    m_shortcuts.setDescription(key, description);
    Binding& binding = m_bindings[key];
    binding.action = std::move(action);
    binding.sequence = shortcut(key);
    m_shortcuts.registerShortcut(key, binding.sequence);
}

QKeySequence ShortcutBindings::shortcut(const QString& key) const
{
    const QVariant value = m_defaults.value(key);
    // A comma makes an unquoted INI value a list: "Ctrl+," written by hand reads as two parts.
    const QString text = value.typeId() == QMetaType::QStringList
                             ? value.toStringList().join(QLatin1Char(','))
                             : value.toString();
    return QKeySequence::fromString(text, QKeySequence::PortableText);
}

void ShortcutBindings::setShortcut(const QString& key, const QKeySequence& sequence)
{
    if (sequence.isEmpty())
        m_defaults.remove(key);
    else
        m_defaults.setValue(key, sequence.toString(QKeySequence::PortableText));
}

GlobalShortcuts::Refusal ShortcutBindings::refusal(const QString& key) const
{
    return m_bindings.contains(key) ? m_shortcuts.refusal(key) : GlobalShortcuts::Refusal::None;
}

bool ShortcutBindings::isAvailable() const
{
    return m_shortcuts.isAvailable();
}

// Every changed shortcut is released before any is registered again, so that two bindings can
// trade their combinations.
void ShortcutBindings::reload()
{
    QStringList changed;
    for (auto& [key, binding] : m_bindings) {
        const QKeySequence stored = shortcut(key);
        if (stored == binding.sequence)
            continue;
        binding.sequence = stored;
        m_shortcuts.unregisterShortcut(key);
        changed.append(key);
    }
    for (const QString& key : std::as_const(changed)) {
        const QKeySequence& sequence = m_bindings[key].sequence;
        m_shortcuts.registerShortcut(key, sequence);
        emit shortcutChanged(key, sequence);
    }
}

void ShortcutBindings::onActivated(const QString& id)
{
    const auto found = m_bindings.find(id);
    if (found != m_bindings.end() && found->second.action)
        found->second.action();
}
