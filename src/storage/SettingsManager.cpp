#include "storage/SettingsManager.h"

#include "support/Logging.h"
#include "support/PrivateFiles.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <cerrno>

using namespace Qt::StringLiterals;

SettingsManager::SettingsManager(const QString& folder)
    : m_folder(folder), m_filePath(folder + "/config"_L1)
{
    const QFileInfo info(m_filePath);
    // An empty file holds no choice to keep.
    if (!info.exists() || (info.isFile() && info.size() == 0))
        return;
    QFile file(m_filePath);
    const QByteArray text = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    if (file.error() == QFileDevice::NoError) {
        if (const std::optional<SettingsModel> model = SettingsModel::initWithString(text)) {
            m_model = *model;
            return;
        }
    }
    keepDamagedFile();
}

// The defaults will replace the file at the next save: what the user had chosen stays beside it,
// for them to look at or mend.
void SettingsManager::keepDamagedFile() const
{
    const QString suffix =
        ".damaged-"_L1 + QDateTime::currentDateTime().toString(u"yyyy-MM-dd-HHmmss"_s);
    const QString kept = PrivateFiles::moveAside(m_filePath, suffix);
    const int failure = errno;
    if (kept.isEmpty())
        qCWarning(lcStorage).noquote()
            << "the settings file" << m_filePath << "cannot be read, nor kept aside ("
            << qt_error_string(failure) << "); the defaults are used and replace it";
    else
        qCWarning(lcStorage).noquote()
            << "the settings file" << m_filePath << "cannot be read; it is kept as" << kept
            << "and the defaults are used";
}

bool SettingsManager::save() const
{
    if (!PrivateFiles::makeFolder(m_folder)) {
        qCWarning(lcStorage) << "cannot create" << m_folder;
        return false;
    }
    return PrivateFiles::writeFile(m_filePath, m_model.toJson());
}
