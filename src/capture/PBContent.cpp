#include "capture/PBContent.h"

#include "capture/ContentIcons.h"
#include "capture/PBFileContent.h"
#include "capture/PBImageContent.h"
#include "capture/PBTextContent.h"
#include "capture/PBURLContent.h"
#include "capture/PayloadReader.h"

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

void PBContent::initIdentity(const Clock& clock, const UuidSource& uuids)
{
    uuid = uuids.createUuid();
    date = clock.now();
}

struct PBContent::Derived
{
    std::optional<QList<QByteArray>> dataArray;
    std::optional<QIcon> icon;
    QSize iconSize;
    std::optional<QString> desc;
    std::optional<PBContent_Extension> extension;
};

PBContent::PBContent() = default;
PBContent::~PBContent() = default;

PBContent::Derived& PBContent::derived()
{
    if (!m_derived)
        m_derived = std::make_unique<Derived>();
    return *m_derived;
}

std::optional<QStringList> PBContent::dataPathArray() const
{
    if (!m_dataPaths)
        return std::nullopt;
    return QString::fromUtf8(*m_dataPaths).split(u'|');
}

void PBContent::setDataPathArray(const std::optional<QStringList>& paths)
{
    m_dataPaths = paths ? std::optional(paths->join(u'|').toUtf8()) : std::nullopt;
}

void PBContent::setDataArray(QList<QByteArray> payloads)
{
    derived().dataArray = std::move(payloads);
}

void PBContent::releaseDataArray()
{
    if (m_derived)
        m_derived->dataArray.reset();
}

const std::optional<QList<QByteArray>>& PBContent::dataArray()
{
    static const std::optional<QList<QByteArray>> none;
    if (!m_derived && !m_dataPaths)
        return none;
    auto& loaded = derived().dataArray;
    if (loaded || !m_dataPaths)
        return loaded;
    loaded = readDataArray();
    return loaded;
}

QList<QByteArray> PBContent::readDataArray() const
{
    if (m_derived && m_derived->dataArray)
        return *m_derived->dataArray;
    QList<QByteArray> payloads;
    if (m_payloadReader) {
        const QStringList paths = dataPathArray().value_or(QStringList());
        for (const QString& path : paths) {
            if (auto bytes = m_payloadReader->readPayload(path))
                payloads.append(std::move(*bytes));
        }
    }
    return payloads;
}

QIcon PBContent::icon()
{
    Derived& d = derived();
    if (!d.icon) {
        QIcon icon;
        QSize size;
        computeIcon(icon, size);
        if (icon.isNull()) {
            icon = ContentIcons::missingFile();
            size = getBiggestImage(icon.availableSizes());
        }
        d.icon = icon;
        d.iconSize = size;
    }
    return *d.icon;
}

QSize PBContent::iconSize()
{
    icon();
    return derived().iconSize;
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
    Derived& d = derived();
    if (!d.desc)
        d.desc = computeDesc();
    return *d.desc;
}

std::optional<QUrl> PBContent::previewItemURL()
{
    const std::optional<QStringList> paths = dataPathArray();
    if (!paths || paths->isEmpty())
        return std::nullopt;
    return QUrl::fromLocalFile(paths->first());
}

PBContent_Extension& PBContent::contentExtension()
{
    Derived& d = derived();
    if (!d.extension) {
        PBContent_Extension summary;
        summary.uuid = uuid;
        summary.date = date;
        summary.app = app;
        summary.desc = trimmedKeyword();
        // Never between the two halves of a surrogate pair.
        if (summary.desc.size() > summaryDescLimit)
            summary.desc.truncate(summary.desc.at(summaryDescLimit - 1).isHighSurrogate()
                                      ? summaryDescLimit - 1
                                      : summaryDescLimit);
        summary.marked = marked;
        d.extension = std::move(summary);
    }
    return *d.extension;
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
