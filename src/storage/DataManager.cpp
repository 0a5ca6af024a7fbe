#include "storage/DataManager.h"

#include "capture/PBContent.h"
#include "platform/PasteboardTypes.h"
#include "support/FileNames.h"
#include "support/Logging.h"
#include "support/PrivateFiles.h"
#include "support/SharedInstance.h"

#include <QFile>
#include <QHash>

DataManager::DataManager(QString savePath) : m_savePath(std::move(savePath)) {}

DataManager& DataManager::sharedManager()
{
    return SharedInstance<DataManager>::instance("DataManager::sharedManager()");
}

QString DataManager::savePath() const
{
    PrivateFiles::makeFolder(m_savePath);
    return m_savePath;
}

std::optional<QStringList> DataManager::saveDataOfContent(PBContent& content) const
{
    const auto& payloads = content.dataArray();
    QStringList paths;
    if (!payloads || payloads->isEmpty())
        return paths;
    // The uuid becomes part of a file name, so it must not reach outside the folder.
    if (!FileNames::isPlainFileName(content.uuid()) || !PrivateFiles::makeFolder(m_savePath))
        return std::nullopt;
    const QString extension = extensionForType(content.pasteboardTypes().value(0));
    for (qsizetype i = 0; i < payloads->size(); ++i) {
        const QString path = pathOfPayload(content.uuid(), i, extension);
        if (!PrivateFiles::writeFile(path, payloads->at(i))) {
            qCWarning(lcStorage, "could not write payload %s", qUtf8Printable(path));
            for (const QString& written : std::as_const(paths))
                PrivateFiles::removeFile(written, m_savePath);
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
    for (const QString& path : *paths)
        PrivateFiles::removeFile(path, m_savePath);
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
