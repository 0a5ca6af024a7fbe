#pragma once

#include "item/PBContent.h"

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

struct ContentDetails;

// What a history row shows of an item that takes reading its row, its files or the desktop's
// entries: made away from the GUI thread from a copy of the item's stored fields, so the item
// itself (whose derived values are not thread-safe) is never touched there, and neither its
// payload bytes nor a full-size picture are kept.
struct RowArtwork
{
    // What the artwork is made from: the item's identity, and the reading of its stored fields.
    struct Source
    {
        QString uuid;
        PBContentType type = PBContentTypeText;
        std::function<std::shared_ptr<const ContentDetails>()> details;
        // Where the item reads its payloads (a file item's addresses); any thread may read.
        const PayloadReader* payloads = nullptr;

        static Source of(const PBContent& item);
    };

    // How much of a description is kept: more than a row shows, so that a search result can
    // start its line shortly before a match lying further in.
    static constexpr qsizetype descriptionLimit = 64 * 1024;

    // An image item's picture, scaled to fit `box` (device pixels).
    QImage picture;
    // The Icon= value of the source application's entry (text and web addresses).
    QString appIconName;
    // The theme icon names of a file's type, best first (files).
    QStringList fileIconNames;
    // The row's description, cut to descriptionLimit: a text's or a web address's trimmed
    // keyword, a picture's size and bytes, a file's path.
    QString description;
    // Whether the item names its source application (text and web addresses).
    bool hasApp = false;

    // Reads what the source names. Any thread.
    static RowArtwork make(const Source& source, const QSize& box);
    // The description of a text or web address item with these stored fields, as make() gives
    // it; needs no reading. Any thread.
    static QString textDescription(PBContentType type, const ContentDetails& details);
    // The memory it holds, for the cache's budget.
    qsizetype cost() const;
};
