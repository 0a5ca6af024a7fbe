#include "storage/DataManager.h"

#include "item/PBContent.h"
#include "platform/PasteboardTypes.h"
#include "support/FileNames.h"
#include "support/Logging.h"
#include "support/PrivateFiles.h"
#include "support/WriteFailureLog.h"

#include <QFile>
#include <QHash>
#include <cerrno>

DataManager::DataManager(QString savePath)
    : m_savePath(std::move(savePath)),
      m_writeFailures(std::make_unique<WriteFailureLog>(
          lcStorage(), QStringLiteral("payload files in %1").arg(m_savePath),
          QStringLiteral("copies are not recorded")))
{}

DataManager::~DataManager() = default;

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
    if (!FileNames::isPlainFileName(content.uuid())) {
        qCWarning(lcStorage).noquote() << "not a payload file name:" << content.uuid();
        return std::nullopt;
    }
    if (!PrivateFiles::makeFolder(m_savePath)) {
        m_writeFailures->failed(errno != 0 ? errno : EIO);
        return std::nullopt;
    }
    const QString extension = extensionForType(content.pasteboardTypes().value(0));
    for (qsizetype i = 0; i < payloads->size(); ++i) {
        const QString path = pathOfPayload(content.uuid(), i, extension);
        if (const int failure = PrivateFiles::replaceFile(path, payloads->at(i))) {
            m_writeFailures->failed(failure);
            for (const QString& written : std::as_const(paths))
                PrivateFiles::removeFile(written, m_savePath);
            return std::nullopt;
        }
        paths.append(path);
    }
    m_writeFailures->succeeded();
    // From now on the item reads its payloads back from the files, as a stored one does, so a
    // copy-back finds out when a file has gone.
    content.setPayloadReader(this);
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
