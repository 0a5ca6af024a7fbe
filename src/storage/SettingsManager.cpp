#include "storage/SettingsManager.h"

#include "support/Logging.h"
#include "support/PrivateFiles.h"
#include "support/SharedInstance.h"

#include <QDir>
#include <QFile>

using namespace Qt::StringLiterals;

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

bool SettingsManager::save() const
{
    if (!PrivateFiles::makeFolder(m_folder)) {
        qCWarning(lcStorage) << "cannot create" << m_folder;
        return false;
    }
    return PrivateFiles::writeFile(m_filePath, m_model.toJson());
}
