#pragma once

#include <QString>
#include <functional>

class QObject;

// Shows files in the user's file manager through the freedesktop interface
// org.freedesktop.FileManager1 on the session bus (Nautilus, Dolphin, Nemo, Thunar, Caja,
// PCManFM-Qt... implement it).
class FileManagerDBus
{
public:
    // Asks the file manager to show the file or folder at the absolute `path` selected in its
    // folder. The call is asynchronous; `done` runs on the calling thread with true once the file
    // manager accepted it, false when there is no session bus, no file manager answers or it
    // returns an error. Nothing runs when `context` is gone by then.
    static void showItem(const QString& path, QObject* context, std::function<void(bool)> done);
};
