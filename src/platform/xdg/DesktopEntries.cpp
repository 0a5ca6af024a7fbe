#include "platform/xdg/DesktopEntries.h"

#include "support/FileNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>

namespace {
const QString desktopSuffix = QStringLiteral(".desktop");

// Values may carry the escapes \s \n \t \r and \\.
QString unescapeValue(const QString& value)
{
    QString result;
    result.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != QLatin1Char('\\') || i + 1 == value.size()) {
            result.append(value[i]);
            continue;
        }
        const QChar next = value[++i];
        static const QHash<QChar, QChar> escapes = {{QLatin1Char('s'), QLatin1Char(' ')},
                                                    {QLatin1Char('n'), QLatin1Char('\n')},
                                                    {QLatin1Char('t'), QLatin1Char('\t')},
                                                    {QLatin1Char('r'), QLatin1Char('\r')}};
        result.append(escapes.value(next, next));
    }
    return result;
}
} // namespace

QString DesktopEntries::iconName(const QString& desktopId)
{
    return entryValue(desktopId, QStringLiteral("Icon"));
}

QString DesktopEntries::applicationName(const QString& desktopId)
{
    return entryValue(desktopId, QStringLiteral("Name"));
}

QString DesktopEntries::entryValue(const QString& desktopId, const QString& key)
{
    if (!FileNames::isPlainFileName(desktopId))
        return {};
    for (const QString& folder : applicationFolders()) {
        const QString path = folder + QLatin1Char('/') + desktopId + desktopSuffix;
        if (QFileInfo(path).isFile())
            return readEntry(path).value(key);
    }
    return {};
}

QIcon DesktopEntries::applicationIcon(const QString& desktopId)
{
    return iconForName(iconName(desktopId));
}

QIcon DesktopEntries::iconForName(const QString& name)
{
    if (name.isEmpty())
        return {};
    if (QDir::isAbsolutePath(name))
        return QFileInfo(name).isFile() ? QIcon(name) : QIcon();
    return QIcon::fromTheme(name);
}

QStringList DesktopEntries::applicationFolders()
{
    QStringList folders;
    const QStringList dataFolders =
        QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation);
    for (const QString& folder : dataFolders)
        folders.append(folder + QStringLiteral("/applications"));
    return folders;
}

QHash<QString, QString> DesktopEntries::readEntry(const QString& path)
{
    QHash<QString, QString> keys;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return keys;
    bool inMainGroup = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inMainGroup = line == QStringLiteral("[Desktop Entry]");
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (!inMainGroup || line.startsWith(QLatin1Char('#')) || equals <= 0)
            continue;
        const QString key = line.left(equals).trimmed();
        if (!key.contains(QLatin1Char('[')) && !keys.contains(key))
            keys.insert(key, unescapeValue(line.mid(equals + 1).trimmed()));
    }
    return keys;
}

QList<std::pair<QString, QString>> DesktopEntries::allEntries(const QStringList& folders)
{
    QList<std::pair<QString, QString>> entries;
    QSet<QString> seen;
    for (const QString& folder : folders) {
        const QDir dir(folder);
        const QStringList names =
            dir.entryList({QLatin1Char('*') + desktopSuffix}, QDir::Files, QDir::Name);
        for (const QString& name : names) {
            const QString id = name.chopped(desktopSuffix.size());
            if (!seen.contains(id)) {
                seen.insert(id);
                entries.append({id, dir.filePath(name)});
            }
        }
    }
    return entries;
}
