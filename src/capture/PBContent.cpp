#include "capture/PBContent.h"

#include "capture/ContentIcons.h"
#include "capture/PBFileContent.h"
#include "capture/PBImageContent.h"
#include "capture/PBTextContent.h"
#include "capture/PBURLContent.h"
#include "storage/DataManager.h"

#include <QUuid>

namespace {
constexpr int smallestDisplayWidth = 128;
}

std::shared_ptr<PBContent> PBContent::withType(qint64 type)
{
    switch (type) {
    case PBContentTypeText:
        return std::make_shared<PBTextContent>();
    case PBContentTypeFile:
        return std::make_shared<PBFileContent>();
    case PBContentTypeImage:
        return std::make_shared<PBImageContent>();
    case PBContentTypeURL:
        return std::make_shared<PBURLContent>();
    default:
        return nullptr;
    }
}

void PBContent::initIdentity(const Clock& clock)
{
    uuid = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
    date = clock.now();
}

bool PBContent::isEqualToContent(PBContent& other)
{
    if (type() != other.type() || pasteboardTypes.isEmpty() || other.pasteboardTypes.isEmpty() ||
        pasteboardTypes.first() != other.pasteboardTypes.first())
        return false;
    const auto& mine = dataArray();
    const auto& theirs = other.dataArray();
    return mine && theirs && !mine->isEmpty() && !theirs->isEmpty() &&
           mine->first() == theirs->first();
}

const std::optional<QList<QByteArray>>& PBContent::dataArray()
{
    if (m_dataArray || !dataPathArray)
        return m_dataArray;
    QList<QByteArray> payloads;
    for (const QString& path : std::as_const(*dataPathArray)) {
        if (auto bytes = DataManager::dataWithPath(path))
            payloads.append(std::move(*bytes));
    }
    m_dataArray = std::move(payloads);
    return m_dataArray;
}

QIcon PBContent::icon()
{
    if (!m_icon) {
        QIcon icon;
        QSize size;
        computeIcon(icon, size);
        if (icon.isNull()) {
            icon = ContentIcons::missingFile();
            size = getBiggestImage(icon.availableSizes());
        }
        m_icon = icon;
        m_iconSize = size;
    }
    return *m_icon;
}

QSize PBContent::iconSize()
{
    icon();
    return m_iconSize;
}

QSize PBContent::getBiggestImage(const QList<QSize>& representations)
{
    for (const QSize& representation : representations) {
        if (representation.width() <= 0)
            break;
        if (representation.width() > smallestDisplayWidth)
            return representation;
    }
    return QSize(smallestDisplayWidth, smallestDisplayWidth);
}

QString PBContent::desc()
{
    if (!m_desc)
        m_desc = computeDesc();
    return *m_desc;
}

std::optional<QUrl> PBContent::previewItemURL()
{
    if (!dataPathArray || dataPathArray->isEmpty())
        return std::nullopt;
    return QUrl::fromLocalFile(dataPathArray->first());
}

PBContent_Extension& PBContent::contentExtension()
{
    if (!m_extension) {
        PBContent_Extension summary;
        summary.uuid = uuid;
        summary.date = date;
        summary.app = app;
        summary.desc = trimmedKeyword();
        summary.marked = marked;
        m_extension = std::move(summary);
    }
    return *m_extension;
}

QString PBContent::trimmedKeyword() const
{
    return keyword.trimmed();
}

void PBContent::sourceApplicationIcon(QIcon& icon, QSize& size) const
{
    icon = ContentIcons::forSourceApplication(app);
    size = getBiggestImage(icon.availableSizes());
}
