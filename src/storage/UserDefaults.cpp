#include "storage/UserDefaults.h"

#include "support/Logging.h"
#include "support/PrivateFiles.h"

#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {
// Editors save by writing a new file and renaming it, often in several steps; changes that come
// this close together are read once.
constexpr int reloadDelayMs = 50;
} // namespace

QString UserDefaults::rateKey(const QString& version)
{
    return QStringLiteral("com.quorvex.rate_%1").arg(version);
}

UserDefaults::UserDefaults(const QString& path, QObject* parent)
    : QObject(parent), m_settings(std::make_unique<QSettings>(path, QSettings::IniFormat))
{
    const QString folder = QFileInfo(m_settings->fileName()).absolutePath();
    PrivateFiles::makeFolder(folder);
    // QSettings replaces the file keeping the mode of the one it replaces: an empty private file
    // made first means the defaults are never readable by others, not even for a moment.
    if (!QFileInfo::exists(this->path()))
        PrivateFiles::writeFile(this->path(), {});
    m_watcher.addPath(folder);
    watchFile();
    m_reloadTimer.setSingleShot(true);
    m_reloadTimer.setInterval(reloadDelayMs);
    connect(&m_reloadTimer, &QTimer::timeout, this, &UserDefaults::reload);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &UserDefaults::fileChanged);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &UserDefaults::fileChanged);
}

UserDefaults::~UserDefaults() = default;

QString UserDefaults::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/vantrel/vantrel.conf");
}

QString UserDefaults::path() const
{
    return m_settings->fileName();
}

QVariant UserDefaults::value(const QString& key) const
{
    m_settings->sync();
    return m_settings->value(key);
}

void UserDefaults::setValue(const QString& key, const QVariant& value)
{
    m_settings->setValue(key, value);
    write();
}

void UserDefaults::remove(const QString& key)
{
    m_settings->remove(key);
    write();
}

// A file another program wrote with a wider mode is narrowed on the first write.
void UserDefaults::write()
{
    m_settings->sync();
    if (m_settings->status() != QSettings::NoError)
        qCWarning(lcStorage) << "cannot write" << path();
    if (!QFile::setPermissions(path(), QFile::ReadOwner | QFile::WriteOwner))
        qCWarning(lcStorage) << "cannot make" << path() << "private";
    emit changed();
}

// The file itself is watched as well as its folder: the folder reports a file replaced by
// rename, the file an edit in place. A replaced file is a new file to watch.
void UserDefaults::watchFile()
{
    const QString file = path();
    if (QFileInfo::exists(file) && !m_watcher.files().contains(file))
        m_watcher.addPath(file);
}

void UserDefaults::fileChanged()
{
    watchFile();
    m_reloadTimer.start();
}

void UserDefaults::reload()
{
    m_settings->sync();
    emit changed();
}
