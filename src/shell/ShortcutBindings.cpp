#include "shell/ShortcutBindings.h"

#include "platform/GlobalShortcuts.h"
#include "support/UserDefaults.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>

namespace {
// Editors save by writing a new file and renaming it, often in several steps; changes that come
// this close together are read once.
constexpr int reloadDelayMs = 50;

void makePrivateFolder(const QString& folder)
{
    if (QFileInfo(folder).isDir())
        return;
    QDir().mkpath(QFileInfo(folder).absolutePath());
    QDir().mkdir(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}
} // namespace

ShortcutBindings::ShortcutBindings(GlobalShortcuts& shortcuts, QObject* parent)
    : ShortcutBindings(shortcuts, UserDefaults::path(), parent)
{}

ShortcutBindings::ShortcutBindings(GlobalShortcuts& shortcuts, const QString& settingsPath,
                                   QObject* parent)
    : QObject(parent), m_shortcuts(shortcuts),
      m_settings(std::make_unique<QSettings>(settingsPath, QSettings::IniFormat))
{
    const QString folder = QFileInfo(m_settings->fileName()).absolutePath();
    makePrivateFolder(folder);
    m_watcher.addPath(folder);
    watchFile();
    m_reloadTimer.setSingleShot(true);
    m_reloadTimer.setInterval(reloadDelayMs);
    connect(&m_reloadTimer, &QTimer::timeout, this, &ShortcutBindings::reload);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &ShortcutBindings::fileChanged);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this,
            &ShortcutBindings::fileChanged);
    connect(&m_shortcuts, &GlobalShortcuts::activated, this, &ShortcutBindings::onActivated);
}

ShortcutBindings::~ShortcutBindings()
{
    for (const auto& [key, binding] : m_bindings)
        m_shortcuts.unregisterShortcut(key);
}

QString ShortcutBindings::settingsPath() const
{
    return m_settings->fileName();
}

void ShortcutBindings::bind(const QString& key, std::function<void()> action)
{
    m_settings->sync();
    Binding& binding = m_bindings[key];
    binding.action = std::move(action);
    binding.sequence = shortcut(key);
    m_shortcuts.registerShortcut(key, binding.sequence);
}

QKeySequence ShortcutBindings::shortcut(const QString& key) const
{
    const QVariant value = m_settings->value(key);
    // A comma makes an unquoted INI value a list: "Ctrl+," written by hand reads as two parts.
    const QString text = value.typeId() == QMetaType::QStringList
                             ? value.toStringList().join(QLatin1Char(','))
                             : value.toString();
    return QKeySequence::fromString(text, QKeySequence::PortableText);
}

void ShortcutBindings::setShortcut(const QString& key, const QKeySequence& sequence)
{
    if (sequence.isEmpty())
        m_settings->remove(key);
    else
        m_settings->setValue(key, sequence.toString(QKeySequence::PortableText));
    m_settings->sync();
    QFile::setPermissions(settingsPath(), QFile::ReadOwner | QFile::WriteOwner);
    reload();
}

GlobalShortcuts::Refusal ShortcutBindings::refusal(const QString& key) const
{
    return m_bindings.contains(key) ? m_shortcuts.refusal(key) : GlobalShortcuts::Refusal::None;
}

// The file itself is watched as well as its folder: the folder reports a file replaced by
// rename, the file an edit in place. A replaced file is a new file to watch.
void ShortcutBindings::watchFile()
{
    const QString path = settingsPath();
    if (QFileInfo::exists(path) && !m_watcher.files().contains(path))
        m_watcher.addPath(path);
}

void ShortcutBindings::fileChanged()
{
    watchFile();
    m_reloadTimer.start();
}

// Every changed shortcut is released before any is registered again, so that two bindings can
// trade their combinations.
void ShortcutBindings::reload()
{
    m_settings->sync();
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
