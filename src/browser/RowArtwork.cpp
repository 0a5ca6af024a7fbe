#include "browser/RowArtwork.h"

#include "item/ContentDetails.h"
#include "item/ContentIcons.h"
#include "item/PBFileContent.h"
#include "item/PBImageContent.h"
#include "platform/xdg/DesktopEntries.h"

#include <QFileInfo>
#include <QImageReader>

namespace {
constexpr qsizetype fixedCost = 256;

// The picture is decoded straight at the size it is shown at (readers that can, such as JPEG,
// never hold the full size), and only its size is read for the description.
void readPicture(RowArtwork& artwork, const QString& path, const QSize& box)
{
    QImageReader reader(path);
    QSize size = reader.size();
    if (size.isValid()) {
        reader.setScaledSize(size.scaled(box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
        artwork.picture = reader.read();
    }
    if (artwork.picture.isNull())
        size = PBContent::getBiggestImage({});
    artwork.description = PBImageContent::descriptionFor(size, QFileInfo(path).size());
}
} // namespace

RowArtwork::Source RowArtwork::Source::of(const PBContent& item)
{
    Source source;
    source.uuid = item.uuid();
    source.type = item.type();
    source.details = item.detailsReading();
    source.payloads = item.payloadReader();
    return source;
}

namespace {
// A plain item of the type holding the stored fields, reading its files as the item does: the
// uuid tells where the paths part, the types which file holds a file item's addresses.
PBContentPtr copyOf(PBContentType type, const QString& uuid, const ContentDetails& details,
                    const PayloadReader* payloads)
{
    PBContentPtr copy = PBContent::withType(type);
    if (!copy)
        return nullptr;
    copy->setUuid(uuid);
    copy->setApp(details.app);
    copy->setKeyword(details.keyword);
    copy->setPasteboardTypes(details.pasteboardTypes);
    copy->setJoinedDataPaths(details.dataPaths);
    copy->setPayloadReader(payloads);
    return copy;
}

QString cut(const QString& description)
{
    return description.left(RowArtwork::descriptionLimit);
}
} // namespace

QString RowArtwork::textDescription(PBContentType type, const ContentDetails& details)
{
    const PBContentPtr copy = copyOf(type, QString(), details, nullptr);
    return copy ? cut(copy->desc()) : QString();
}

RowArtwork RowArtwork::make(const Source& source, const QSize& box)
{
    RowArtwork artwork;
    const std::shared_ptr<const ContentDetails> details = source.details();
    const PBContentPtr copy = copyOf(source.type, source.uuid, *details, source.payloads);
    if (!copy)
        return artwork;
    switch (source.type) {
    case PBContentTypeImage: {
        const QStringList paths = copy->dataPathArray().value_or(QStringList());
        readPicture(artwork, paths.value(0), box);
        break;
    }
    case PBContentTypeFile: {
        auto& file = static_cast<PBFileContent&>(*copy);
        artwork.description = cut(file.desc());
        artwork.fileIconNames = ContentIcons::fileIconNames(file.filePath());
        break;
    }
    default:
        artwork.description = cut(copy->desc());
        artwork.hasApp = !details->app.isNull();
        if (artwork.hasApp)
            artwork.appIconName = DesktopEntries::iconName(details->app);
        break;
    }
    return artwork;
}

qsizetype RowArtwork::cost() const
{
    return fixedCost + picture.sizeInBytes() + description.size() * qsizetype(sizeof(QChar));
}
