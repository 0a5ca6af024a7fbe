#include "item/PBContent.h"

#include "item/ContentDetails.h"
#include "item/ContentIcons.h"
#include "item/DetailReader.h"
#include "item/PBFileContent.h"
#include "item/PBImageContent.h"
#include "item/PBTextContent.h"
#include "item/PBURLContent.h"
#include "item/PayloadReader.h"

#include <algorithm>

namespace {
constexpr int smallestDisplayWidth = 128;

// The paths when each is `folder` + "/" + a file name; nullopt when the text is not of that form.
std::optional<QStringList> pathsIn(const QString& joined, const QString& folder)
{
    const QString prefix = folder + u'/';
    QStringList paths;
    qsizetype at = 0;
    for (;;) {
        if (!QStringView(joined).mid(at).startsWith(prefix))
            return std::nullopt;
        const qsizetype nameStart = at + prefix.size();
        const qsizetype separator = joined.indexOf(u'|', nameStart);
        const qsizetype end = separator < 0 ? joined.size() : separator;
        const QStringView name = QStringView(joined).mid(nameStart, end - nameStart);
        if (name.isEmpty() || name.contains(u'/'))
            return std::nullopt;
        paths.append(joined.mid(at, end - at));
        if (separator < 0)
            return paths;
        at = separator + 1;
    }
}

// The paths are stored joined with "|", which a folder's name may hold as well; a file name never
// does. All of an item's files lie in one folder, the text before the first "/<uuid>", so the
// text is cut after each file name in it. Text of another form (a row written by something else)
// is cut at every "|".
QStringList splitDataPaths(const QString& joined, const QString& uuid)
{
    const qsizetype firstName = uuid.isEmpty() ? -1 : joined.indexOf(u'/' + uuid);
    if (firstName >= 0) {
        if (std::optional<QStringList> paths = pathsIn(joined, joined.left(firstName)))
            return *std::move(paths);
    }
    return joined.split(u'|');
}
} // namespace

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
    setUuid(uuids.createUuid());
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

std::shared_ptr<const ContentDetails> PBContent::details() const
{
    static const auto none = std::make_shared<const ContentDetails>();
    if (m_details)
        return m_details;
    if (m_detailReader) {
        if (auto read = m_detailReader->readDetails(m_uuid))
            return read;
    }
    return none;
}

std::shared_ptr<const ContentDetails> PBContent::detailsAtHand() const
{
    if (m_details)
        return m_details;
    return m_detailReader ? m_detailReader->keptDetails(m_uuid) : nullptr;
}

std::function<std::shared_ptr<const ContentDetails>()> PBContent::detailsReading() const
{
    if (m_details || !m_detailReader)
        return [details = details()] { return details; };
    return [reader = m_detailReader, uuid = m_uuid]() -> std::shared_ptr<const ContentDetails> {
        if (auto read = reader->readDetails(uuid))
            return read;
        return std::make_shared<const ContentDetails>();
    };
}

ContentDetails& PBContent::ownDetails()
{
    if (!m_details) {
        m_details = std::make_shared<ContentDetails>(*details());
        m_detailReader = nullptr;
    }
    return *m_details;
}

void PBContent::readDetailsFrom(const DetailReader* reader)
{
    m_detailReader = reader;
    m_details.reset();
}

void PBContent::keepDetails()
{
    ownDetails();
}

QString PBContent::title() const
{
    return details()->title;
}

void PBContent::setTitle(const QString& title)
{
    ownDetails().title = title;
}

QStringList PBContent::pasteboardTypes() const
{
    return details()->pasteboardTypes;
}

void PBContent::setPasteboardTypes(const QStringList& types)
{
    ownDetails().pasteboardTypes = types;
}

QString PBContent::app() const
{
    return details()->app;
}

void PBContent::setApp(const QString& app)
{
    ownDetails().app = app;
}

QString PBContent::keyword() const
{
    return details()->keyword;
}

void PBContent::setKeyword(const QString& keyword)
{
    ownDetails().keyword = keyword;
}

std::optional<QByteArray> PBContent::joinedDataPaths() const
{
    return details()->dataPaths;
}

void PBContent::setJoinedDataPaths(std::optional<QByteArray> joined)
{
    ownDetails().dataPaths = std::move(joined);
}

std::optional<QStringList> PBContent::dataPathArray() const
{
    const std::optional<QByteArray> joined = joinedDataPaths();
    if (!joined)
        return std::nullopt;
    return splitDataPaths(QString::fromUtf8(*joined), uuid());
}

void PBContent::setDataPathArray(const std::optional<QStringList>& paths)
{
    setJoinedDataPaths(paths ? std::optional(paths->join(u'|').toUtf8()) : std::nullopt);
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
    if (m_derived && m_derived->dataArray)
        return m_derived->dataArray;
    if (!details()->dataPaths)
        return none;
    auto& loaded = derived().dataArray;
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

std::optional<QByteArray> PBContent::payloadForType(const QString& type) const
{
    const qsizetype index = std::max<qsizetype>(0, pasteboardTypes().indexOf(type));
    if (m_derived && m_derived->dataArray) {
        const QList<QByteArray>& payloads = *m_derived->dataArray;
        return index < payloads.size() ? std::optional(payloads[index]) : std::nullopt;
    }
    const QStringList paths = dataPathArray().value_or(QStringList());
    if (!m_payloadReader || index >= paths.size())
        return std::nullopt;
    return m_payloadReader->readPayload(paths[index]);
}

PBContent::TypedPayloads PBContent::readTypedPayloads() const
{
    return typedPayloadsReading()();
}

std::function<PBContent::TypedPayloads()> PBContent::typedPayloadsReading() const
{
    const QStringList types = pasteboardTypes();
    if (!m_payloadReader || !joinedDataPaths()) {
        const QList<QByteArray> payloads = readDataArray();
        const qsizetype count = std::min(types.size(), payloads.size());
        return [typed = TypedPayloads{types.first(count), payloads.first(count)}] { return typed; };
    }
    const QStringList paths = dataPathArray().value_or(QStringList());
    return [types, paths, reader = m_payloadReader] {
        TypedPayloads typed;
        const qsizetype count = std::min(types.size(), paths.size());
        for (qsizetype i = 0; i < count; ++i) {
            if (auto bytes = reader->readPayload(paths[i])) {
                typed.types.append(types[i]);
                typed.payloads.append(std::move(*bytes));
            }
        }
        return typed;
    };
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

PBContent_Extension PBContent::contentExtension()
{
    Derived& d = derived();
    if (!d.extension) {
        PBContent_Extension summary;
        summary.uuid = uuid();
        summary.date = date;
        summary.app = app();
        summary.desc = trimmedKeyword();
        // Never between the two halves of a surrogate pair.
        if (summary.desc.size() > summaryDescLimit)
            summary.desc.truncate(summary.desc.at(summaryDescLimit - 1).isHighSurrogate()
                                      ? summaryDescLimit - 1
                                      : summaryDescLimit);
        d.extension = std::move(summary);
    }
    PBContent_Extension summary = *d.extension;
    summary.marked = marked;
    return summary;
}

QString PBContent::trimmedKeyword() const
{
    return keyword().trimmed();
}

void PBContent::sourceApplicationIcon(QIcon& icon, QSize& size) const
{
    icon = ContentIcons::forSourceApplication(app());
    size = getBiggestImage(icon.availableSizes());
}
