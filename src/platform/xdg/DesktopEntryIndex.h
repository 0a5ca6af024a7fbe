#pragma once

#include <QFileSystemWatcher>
#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

// Which desktop entry a window belongs to, answered from an index of the applications folders
// read once and read again when a folder changes (an application installed or removed), so that
// finding the source application of a copy reads no file.
class DesktopEntryIndex : public QObject
{
    Q_OBJECT

public:
    // The index of the applications folders of the XDG data folders.
    explicit DesktopEntryIndex(QObject* parent = nullptr);
    // The index of these folders; an entry in an earlier folder hides one of the same id in a
    // later folder.
    explicit DesktopEntryIndex(const QStringList& folders, QObject* parent = nullptr);

    // The id of the entry for a window of this WM_CLASS (instance and class name): the entry whose
    // StartupWMClass equals the class, else the instance; failing that, the entry whose id equals
    // the class, else the instance, ignoring case. The empty string when no entry matches.
    QString desktopIdForWindowClass(const QString& instance, const QString& windowClass) const;

    // The window classes whose windows belong to this entry by its StartupWMClass: the names,
    // beside the id itself, that its windows may carry.
    QStringList windowClassesOfDesktopId(const QString& desktopId) const;

signals:
    // The folders changed and the index was read again.
    void refreshed();

private:
    void refresh();
    void watchFolders();

    QStringList m_folders;
    // StartupWMClass -> id, and case-folded id -> id; the first entry in search order wins.
    QHash<QString, QString> m_idByStartupClass;
    QHash<QString, QString> m_idByFoldedId;
    QFileSystemWatcher m_watcher;
    QTimer m_refreshTimer;
};
