#include "platform/xdg/DesktopEntryIndex.h"

#include "platform/xdg/DesktopEntries.h"

#include <QFileInfo>

namespace {
// A package manager writes many entries in a row; they are read again once it is done.
constexpr int refreshDelayMs = 200;
} // namespace

DesktopEntryIndex::DesktopEntryIndex(QObject* parent)
    : DesktopEntryIndex(DesktopEntries::applicationFolders(), parent)
{}

DesktopEntryIndex::DesktopEntryIndex(const QStringList& folders, QObject* parent)
    : QObject(parent), m_folders(folders)
{
    m_refreshTimer.setSingleShot(true);
    m_refreshTimer.setInterval(refreshDelayMs);
    connect(&m_refreshTimer, &QTimer::timeout, this, &DesktopEntryIndex::refresh);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, &m_refreshTimer,
            qOverload<>(&QTimer::start));
    refresh();
}

QString DesktopEntryIndex::desktopIdForWindowClass(const QString& instance,
                                                   const QString& windowClass) const
{
    QStringList names;
    for (const QString& name : {windowClass, instance}) {
        if (!name.isEmpty())
            names.append(name);
    }
    for (const QString& name : std::as_const(names)) {
        if (const auto found = m_idByStartupClass.constFind(name);
            found != m_idByStartupClass.cend())
            return *found;
    }
    for (const QString& name : std::as_const(names)) {
        if (const auto found = m_idByFoldedId.constFind(name.toCaseFolded());
            found != m_idByFoldedId.cend())
            return *found;
    }
    return QStringLiteral("");
}

QStringList DesktopEntryIndex::windowClassesOfDesktopId(const QString& desktopId) const
{
    QStringList classes;
    for (auto entry = m_idByStartupClass.cbegin(); entry != m_idByStartupClass.cend(); ++entry) {
        if (entry.value() == desktopId)
            classes.append(entry.key());
    }
    return classes;
}

void DesktopEntryIndex::refresh()
{
    m_idByStartupClass.clear();
    m_idByFoldedId.clear();
    for (const auto& [id, path] : DesktopEntries::allEntries(m_folders)) {
        const QString startupClass =
            DesktopEntries::readEntry(path).value(QStringLiteral("StartupWMClass"));
        if (!startupClass.isEmpty() && !m_idByStartupClass.contains(startupClass))
            m_idByStartupClass.insert(startupClass, id);
        if (!m_idByFoldedId.contains(id.toCaseFolded()))
            m_idByFoldedId.insert(id.toCaseFolded(), id);
    }
    watchFolders();
    emit refreshed();
}

// A folder that does not exist yet is noticed through its parent when it is made.
void DesktopEntryIndex::watchFolders()
{
    for (const QString& folder : std::as_const(m_folders)) {
        const QString watched =
            QFileInfo(folder).isDir() ? folder : QFileInfo(folder).absolutePath();
        if (QFileInfo(watched).isDir() && !m_watcher.directories().contains(watched))
            m_watcher.addPath(watched);
    }
}
