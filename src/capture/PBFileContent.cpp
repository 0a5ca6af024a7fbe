#include "capture/PBFileContent.h"

#include "capture/ContentIcons.h"
#include "platform/PasteboardTypes.h"
#include "support/StringAdditions.h"

const QStringList& PBFileContent::supportPasteboardTypes()
{
    static const QStringList types = {PasteboardTypes::fileUrl};
    return types;
}

QString PBFileContent::filePath()
{
    if (!m_filePath) {
        const auto& payloads = dataArray();
        std::optional<QString> address;
        if (payloads && !payloads->isEmpty())
            address = StringAdditions::decodeUtf8(payloads->first());
        std::optional<QString> path;
        if (address)
            path = StringAdditions::decodeString(address->remove(QStringLiteral("file://")));
        m_filePath = path.value_or(QString());
    }
    return *m_filePath;
}

std::optional<QUrl> PBFileContent::previewItemURL()
{
    const QString path = filePath();
    if (path.isNull())
        return std::nullopt;
    return QUrl::fromLocalFile(path);
}

QString PBFileContent::computeDesc()
{
    const QString path = filePath();
    return path.isNull() ? QStringLiteral("") : path;
}

void PBFileContent::computeIcon(QIcon& icon, QSize& size)
{
    icon = ContentIcons::forFile(filePath());
    size = getBiggestImage(icon.availableSizes());
}
