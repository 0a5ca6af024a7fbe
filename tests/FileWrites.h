#pragma once

#include <QByteArray>
#include <QFile>
#include <QSaveFile>
#include <QString>

// The two ways other programs change a file that the application watches.
namespace FileWrites {
// Truncates and rewrites the file itself.
inline bool writeInPlace(const QString& path, const QByteArray& contents)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(contents) == contents.size();
}

// As editors save: a new file renamed over the old one.
inline bool replace(const QString& path, const QByteArray& contents)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size() &&
           file.commit();
}
} // namespace FileWrites
