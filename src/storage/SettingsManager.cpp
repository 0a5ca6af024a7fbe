#include "storage/SettingsManager.h"

#include "support/Logging.h"
#include "support/SharedInstance.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace {
constexpr QFile::Permissions kPrivateFolder =
    QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
constexpr QFile::Permissions kPrivateFile = QFile::ReadOwner | QFile::WriteOwner;
} // namespace

SettingsManager::SettingsManager(const QString& folder)
    : m_folder(folder), m_filePath(folder + "/config"_L1)
{
    QFile file(m_filePath);
    if (file.open(QIODevice::ReadOnly))
        m_model = SettingsModel::initWithString(file.readAll()).value_or(SettingsModel());
}

SettingsManager& SettingsManager::sharedManager()
{
    return SharedInstance<SettingsManager>::instance("SettingsManager::sharedManager()");
}

bool SettingsManager::ensureFolder() const
{
    const QDir folder(m_folder);
    if (folder.exists())
        return true;
    QDir parent = QFileInfo(m_folder).absoluteDir();
    return parent.mkpath(u"."_s) && parent.mkdir(folder.dirName(), kPrivateFolder);
}

bool SettingsManager::save() const
{
    if (!ensureFolder()) {
        qCWarning(lcStorage) << "cannot create" << m_folder;
        return false;
    }
    const QByteArray json = m_model.toJson();
    QSaveFile file(m_filePath);
    // Permissions are set on the temporary file, so the data is never readable by others.
    // Unbuffered: commit() flushes a buffered QSaveFile without checking the result, and would
    // then put a truncated file in place of the old one.
    const bool saved = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) &&
                       file.setPermissions(kPrivateFile) && file.write(json) == json.size() &&
                       file.commit();
    if (!saved)
        qCWarning(lcStorage) << "cannot save" << m_filePath << file.errorString();
    return saved;
}
