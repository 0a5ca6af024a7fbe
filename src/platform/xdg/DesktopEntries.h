#pragma once

#include <QHash>
#include <QIcon>
#include <QString>

// Looks up applications through their XDG desktop entries: `<id>.desktop` in the applications/
// folders of the XDG data folders ($XDG_DATA_HOME first, then $XDG_DATA_DIRS); an entry in an
// earlier folder hides one of the same id in a later folder.
class DesktopEntries
{
public:
    // The Icon= value of the application's entry: a theme icon name or an absolute file path.
    // A null string when there is no such entry, it names no icon, or the id is not a plain
    // file name.
    static QString iconName(const QString& desktopId);

    // The Name= value of the application's entry (not localised); a null string as for iconName.
    static QString applicationName(const QString& desktopId);

    // The application's icon, from the icon theme or from the file its entry names; a null icon
    // when none can be found.
    static QIcon applicationIcon(const QString& desktopId);
    // The icon an Icon= value names: a theme icon, or the file at an absolute path.
    static QIcon iconForName(const QString& name);

    // The keys of the [Desktop Entry] group of the file at `path`, without localised variants,
    // their values with the string escapes undone. Empty when the file cannot be read.
    static QHash<QString, QString> readEntry(const QString& path);

    // The applications/ folders of the XDG data folders, in search order.
    static QStringList applicationFolders();
    // The ids and paths of every entry in the folders, each id once, in search order.
    static QList<std::pair<QString, QString>> allEntries(const QStringList& folders);

private:
    static QString entryValue(const QString& desktopId, const QString& key);
};
