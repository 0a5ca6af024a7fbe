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
    const std::shared_ptr<const ContentDetails> details = item.details();
    Source source;
    source.uuid = item.uuid();
    source.type = item.type();
    source.app = details->app;
    source.pasteboardTypes = details->pasteboardTypes;
    source.joinedDataPaths = details->dataPaths;
    source.payloads = item.payloadReader();
    return source;
}

RowArtwork RowArtwork::make(const Source& source, const QSize& box)
{
    RowArtwork artwork;
    PBContentPtr copy = PBContent::withType(source.type);
    if (!copy)
        return artwork;
    // The copy reads its files as the item does: the uuid tells where the paths part, the types
    // which file holds a file item's addresses, the reader gives them.
    copy->setUuid(source.uuid);
    copy->setPasteboardTypes(source.pasteboardTypes);
    copy->setJoinedDataPaths(source.joinedDataPaths);
    copy->setPayloadReader(source.payloads);
    switch (source.type) {
    case PBContentTypeImage: {
        const QStringList paths = copy->dataPathArray().value_or(QStringList());
        readPicture(artwork, paths.value(0), box);
        break;
    }
    case PBContentTypeFile: {
        auto& file = static_cast<PBFileContent&>(*copy);
        artwork.description = file.desc();
        artwork.fileIconNames = ContentIcons::fileIconNames(file.filePath());
        break;
    }
    default:
        if (!source.app.isNull())
            artwork.appIconName = DesktopEntries::iconName(source.app);
        break;
    }
    return artwork;
}

qsizetype RowArtwork::cost() const
{
    return fixedCost + picture.sizeInBytes();
}
