#include "item/PBFileContent.h"

#include "item/ContentIcons.h"
#include "platform/PasteboardTypes.h"
#include "support/StringAdditions.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {
// Each address, one a line: "file://" removed, then its escapes replaced.
QStringList pathsOfAddresses(const std::optional<QByteArray>& payload)
{
    const std::optional<QString> text =
        payload ? StringAdditions::decodeUtf8(*payload) : std::nullopt;
    if (!text)
        return {};
    QStringList paths;
    for (QString line : text->split(u'\n', Qt::SkipEmptyParts)) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (auto path = StringAdditions::decodeString(line.remove(QStringLiteral("file://"))))
            paths.append(*path);
    }
    return paths;
}

// A folder's address may end in "/"; its name is the last part before it.
QString nameOf(QString path)
{
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    const QString name = QFileInfo(path).fileName();
    return name.isEmpty() ? path : name;
}
} // namespace

const QStringList& PBFileContent::supportPasteboardTypes()
{
    static const QStringList types = {PasteboardTypes::fileUrl};
    return types;
}

QStringList PBFileContent::filePaths()
{
    if (!m_filePaths)
        m_filePaths = pathsOfAddresses(payloadForType(PasteboardTypes::fileUrl));
    return *m_filePaths;
}

QString PBFileContent::filePath()
{
    return filePaths().value(0);
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
    const QStringList paths = filePaths();
    if (paths.isEmpty())
        return QStringLiteral("");
    const QString name = nameOf(paths.first());
    if (paths.size() == 1)
        return name;
    // Counted beforehand: lupdate never finishes reading a cast among translate()'s arguments.
    const int more = int(paths.size() - 1);
    return QCoreApplication::translate("PBFileContent", "%1 and %n more", nullptr, more).arg(name);
}

void PBFileContent::computeIcon(QIcon& icon, QSize& size)
{
    icon = ContentIcons::forFile(filePath());
    size = getBiggestImage(icon.availableSizes());
}
