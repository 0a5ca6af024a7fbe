#pragma once

#include <QIcon>
#include <QString>
#include <QStringList>

// The icons items and summaries show, with the program's own fallback pictures.
class ContentIcons
{
public:
    // The program's own picture ":/icons/<name>.svg" (its resource registered), made once per
    // name: an icon made anew renders its pictures anew, and Qt's pixmap cache fills with copies.
    // Main thread only.
    static QIcon resource(const QString& name);
    // The picture for an application that cannot be found.
    static QIcon missingApp();
    // The picture for an item that has no icon of its own.
    static QIcon missingFile();

    // The icon of a source application: missingFile() when app is null (no source recorded),
    // the application's icon by its desktop-file id, else missingApp().
    static QIcon forSourceApplication(const QString& app);

    // The icon of the file or folder at `path` from the icon theme: "folder" for a folder, else
    // the icon of the MIME type its name gives, falling back to the type's generic icon. A folder
    // is always a folder, whatever its name ends in. A null icon when nothing exists at the path
    // or the theme has no such icon.
    static QIcon forFile(const QString& path);
    // The theme icon names forFile() tries, best first; empty when nothing exists at the path.
    // Reads only the file system, so it may run on any thread.
    static QStringList fileIconNames(const QString& path);
    // The icon for the first of these theme names that the theme has (a null icon for none).
    static QIcon themeIcon(const QStringList& names);
};
