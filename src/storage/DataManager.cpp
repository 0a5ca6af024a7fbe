#include "storage/DataManager.h"

#include "capture/PBContent.h"
#include "platform/PasteboardTypes.h"
#include "support/FileNames.h"
#include "support/Logging.h"
#include "support/SharedInstance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QStandardPaths>

namespace {
constexpr QFile::Permissions privateFile = QFile::ReadOwner | QFile::WriteOwner;
constexpr QFile::Permissions privateFolder = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;

// Creates the folder and each missing parent with owner-only access.
bool makePrivatePath(const QString& path)
{
    const QFileInfo info(path);
    if (info.isDir())
        return true;
    if (info.exists() || !makePrivatePath(info.absolutePath()))
        return false;
    return QDir().mkdir(info.absoluteFilePath(), privateFolder) || QFileInfo(path).isDir();
}

bool writePrivateFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    // The permissions are set on the temporary file before any byte is written to it.
    if (!file.open(QIODevice::WriteOnly) || !file.setPermissions(privateFile))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
} // namespace

DataManager::DataManager(QString savePath) : m_savePath(std::move(savePath)) {}

DataManager& DataManager::sharedManager()
{
    return SharedInstance<DataManager>::instance("DataManager::sharedManager()");
}

QString DataManager::savePath() const
{
    makePrivatePath(m_savePath);
    return m_savePath;
}

std::optional<QStringList> DataManager::saveDataOfContent(PBContent& content) const
{
    const auto& payloads = content.dataArray();
    QStringList paths;
    if (!payloads || payloads->isEmpty())
        return paths;
    // The uuid becomes part of a file name, so it must not reach outside the folder.
    if (!FileNames::isPlainFileName(content.uuid) || !makePrivatePath(m_savePath))
        return std::nullopt;
    const QString extension = extensionForType(content.pasteboardTypes.value(0));
    for (qsizetype i = 0; i < payloads->size(); ++i) {
        const QString path = pathOfPayload(content.uuid, i, extension);
        if (!writePrivateFile(path, payloads->at(i))) {
            qCWarning(lcStorage, "could not write payload %s", qUtf8Printable(path));
            for (const QString& written : std::as_const(paths))
                QFile::remove(written);
            return std::nullopt;
        }
        paths.append(path);
    }
    return paths;
}

// Read rather than mapped: a QByteArray cannot own a mapping, and its copies travel (into the
// clipboard, into previews) beyond any owner that could keep the mapping alive.
std::optional<QByteArray> DataManager::dataWithPath(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

std::optional<QByteArray> DataManager::readPayload(const QString& path) const
{
    return dataWithPath(path);
}

void DataManager::deleteDataOfContent(const PBContent& content) const
{
    const std::optional<QStringList> paths = content.dataPathArray();
    if (!paths)
        return;
    const QString folder = QFileInfo(m_savePath).canonicalFilePath();
    for (const QString& path : *paths) {
        if (folder.isEmpty() || !liesInPayloadFolder(path, folder)) {
            qCWarning(lcStorage, "not deleting %s: outside the payload folder",
                      qUtf8Printable(path));
            continue;
        }
        QFile::remove(path);
    }
}

QString DataManager::extensionForType(const QString& type)
{
    static const QHash<QString, QString> extensions = {
        {PasteboardTypes::pdf, QStringLiteral("pdf")},
        {PasteboardTypes::png, QStringLiteral("png")},
        {PasteboardTypes::tiff, QStringLiteral("tiff")},
        {PasteboardTypes::html, QStringLiteral("html")},
        {PasteboardTypes::rtf, QStringLiteral("rtf")},
        {PasteboardTypes::rtfd, QStringLiteral("rtf")},
        {PasteboardTypes::string, QStringLiteral("txt")},
        {PasteboardTypes::fileUrl, QStringLiteral("txt")},
        {PasteboardTypes::url, QStringLiteral("txt")},
    };
    return extensions.value(type, QStringLiteral("data"));
}

QString DataManager::pathOfPayload(const QString& uuid, qsizetype index,
                                   const QString& extension) const
{
    if (index == 0)
        return m_savePath + QLatin1Char('/') + uuid + QLatin1Char('.') + extension;
    return m_savePath + QLatin1Char('/') + uuid + QLatin1Char(' ') + QString::number(index + 1) +
           QStringLiteral(".data");
}

// The entry itself must sit in the folder; its target, when it is a link, does not matter, since
// removing a link leaves the target alone.
bool DataManager::liesInPayloadFolder(const QString& path, const QString& canonicalFolder) const
{
    const QFileInfo info(path);
    const QString name = info.fileName();
    return info.isAbsolute() && FileNames::isPlainFileName(name) &&
           QFileInfo(info.absolutePath()).canonicalFilePath() == canonicalFolder;
}
