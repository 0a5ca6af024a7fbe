#pragma once

#include "item/ItemUuid.h"
#include "item/PBContent_Extension.h"
#include "support/Clock.h"
#include "support/UuidSource.h"

#include <QByteArray>
#include <QIcon>
#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>
#include <memory>
#include <optional>

// Item type numbers; they are stored in the history database and must never change.
enum PBContentType : qint64 {
    PBContentTypeText = 0,
    PBContentTypeFile = 1,
    PBContentTypeImage = 2,
    PBContentTypeURL = 3,
};

// One captured clipboard entry. Items are shared between the category lists through
// std::shared_ptr; the lazily computed members are filled without locking, so an item is used by
// one thread at a time and handed over, not shared while in use.
//
// An item holds what the lists order and find it by (uuid, date, type, mark). Its details
// (title, types, source application, keyword, payload paths) are its own while it is being made;
// a stored item instead reads them from its row through its detail reader when they are used,
// so a history of a million items does not hold a million keywords.
//
// A null QString stands for an absent text (a NULL column, an unset title); an empty one for the
// empty text.
class DetailReader;
class PayloadReader;
struct ContentDetails;

class PBContent
{
public:
    PBContent();
    virtual ~PBContent();

    // A new item of type T with a fresh uuid and the clock's current time.
    template <class T>
    static std::shared_ptr<T> createInstance(const Clock& clock = Clock::system(),
                                             const UuidSource& uuids = UuidSource::random())
    {
        auto item = std::make_shared<T>();
        item->initIdentity(clock, uuids);
        return item;
    }
    // A plain item of the class for a stored type number, or nullptr for an unknown number.
    static std::shared_ptr<PBContent> withType(qint64 type);

    virtual PBContentType type() const = 0;

    QString uuid() const { return m_uuid.toString(); }
    const ItemUuid& itemUuid() const { return m_uuid; }
    void setUuid(const QString& uuid) { m_uuid = ItemUuid::fromString(uuid); }
    void setItemUuid(const ItemUuid& uuid) { m_uuid = uuid; }
    double date = 0;
    bool marked = false;

    QString title() const;
    void setTitle(const QString& title);
    QStringList pasteboardTypes() const;
    void setPasteboardTypes(const QStringList& types);
    QString app() const;
    void setApp(const QString& app);
    QString keyword() const;
    void setKeyword(const QString& keyword);

    // Where the details of a stored item are read from; not owned. The item drops the details it
    // holds: from now on they are its row's.
    void readDetailsFrom(const DetailReader* reader);
    // Makes the details the item's own again (read once more from the row): for an item whose
    // row is about to go while the item is still used.
    void keepDetails();
    // The details as they are now: the item's own, or its row's (nothing for a missing row).
    std::shared_ptr<const ContentDetails> details() const;
    // The details when they need no reading of the history (the item's own, or its row's held
    // in memory), else nullptr.
    std::shared_ptr<const ContentDetails> detailsAtHand() const;
    // The reading of details(), with what it needs of the item taken now: it may run on any
    // thread, the item meanwhile used or gone.
    std::function<std::shared_ptr<const ContentDetails>()> detailsReading() const;

    // The payload file paths, paired with the payloads by position; nullopt until set. A folder
    // name holding "|" stays whole: the stored text is cut only after a file of this item.
    std::optional<QStringList> dataPathArray() const;
    void setDataPathArray(const std::optional<QStringList>& paths);
    // The paths as the history stores them: joined with "|", UTF-8.
    std::optional<QByteArray> joinedDataPaths() const;
    void setJoinedDataPaths(std::optional<QByteArray> joined);
    // Where dataArray() reads the payloads at the paths from; not owned. Without one, payloads
    // that were not set read as unreadable.
    void setPayloadReader(const PayloadReader* reader) { m_payloadReader = reader; }
    const PayloadReader* payloadReader() const { return m_payloadReader; }

    // The payloads, read from dataPathArray through the payload reader on first use (unreadable
    // ones are skipped); nullopt when neither payloads nor paths are set.
    const std::optional<QList<QByteArray>>& dataArray();
    void setDataArray(QList<QByteArray> payloads);
    // Lets go of payloads held in memory once they are in their files: dataArray() then reads them
    // from dataPathArray through the payload reader, as for an item loaded from the history.
    void releaseDataArray();
    // The payloads as dataArray() gives them, without keeping what had to be read from the
    // files.
    QList<QByteArray> readDataArray() const;

    // What a copy-back writes: types[i] with payloads[i].
    struct TypedPayloads
    {
        QStringList types;
        QList<QByteArray> payloads;
    };
    // Each pasteboard type with its own payload, read afresh from the files where the item has
    // them (nothing is kept, so a large item costs memory only while it is written): the payload
    // at position i belongs to type i. A payload that cannot be read is left out with its type,
    // so no type is ever written with another's bytes; types without a payload are left out too.
    TypedPayloads readTypedPayloads() const;
    // The same reading, with what it needs of the item taken now, on this thread: the files are
    // read when it is called, which may be on any thread.
    std::function<TypedPayloads()> typedPayloadsReading() const;

    QIcon icon();
    // The icon's display size in device-independent pixels (see getBiggestImage).
    QSize iconSize();
    // The display size for an image whose representations have these sizes, in order: the first
    // wider than 128, else 128 x 128 (also when a zero-width one comes first).
    static QSize getBiggestImage(const QList<QSize>& representations);

    QString desc();
    virtual std::optional<QUrl> previewItemURL();
    // The summary; its description is the trimmed keyword, cut to at most summaryDescLimit
    // characters so that a list of summaries stays small whatever was copied. Made once and kept,
    // but for the mark, which is always the item's own.
    PBContent_Extension contentExtension();
    static constexpr qsizetype summaryDescLimit = 1000;

protected:
    virtual QString computeDesc() = 0;
    // Leaves the icon null when the item has none of its own; icon() then shows "icon_miss_file".
    virtual void computeIcon(QIcon& icon, QSize& size) = 0;
    // The keyword without white space and line breaks at either end.
    QString trimmedKeyword() const;
    // The source application's icon, sized by its representations.
    void sourceApplicationIcon(QIcon& icon, QSize& size) const;
    // The payload paired with this type, or the first one when the item does not list the type,
    // read alone (not the others); nullopt when there is none.
    std::optional<QByteArray> payloadForType(const QString& type) const;

private:
    void initIdentity(const Clock& clock, const UuidSource& uuids);

    // What an item computes on first use. A loaded history holds many items that are never
    // shown, so until then this costs one pointer.
    struct Derived;
    Derived& derived();
    ContentDetails& ownDetails();

    ItemUuid m_uuid;
    // Set while the details are the item's own; otherwise they are read through the reader.
    std::shared_ptr<ContentDetails> m_details;
    const DetailReader* m_detailReader = nullptr;
    const PayloadReader* m_payloadReader = nullptr;
    std::unique_ptr<Derived> m_derived;
};

using PBContentPtr = std::shared_ptr<PBContent>;
