#pragma once

#include "item/PBContent.h"

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

// What a history row shows of an item that takes reading its files or the desktop's entries:
// made away from the GUI thread from a copy of the item's stored fields, so the item itself (whose
// derived values are not thread-safe) is never touched there, and neither its payload bytes nor a
// full-size picture are kept.
struct RowArtwork
{
    // The stored fields the artwork is made from.
    struct Source
    {
        QString uuid;
        PBContentType type = PBContentTypeText;
        QString app;
        QStringList pasteboardTypes;
        std::optional<QByteArray> joinedDataPaths;
        // Where the item reads its payloads (a file item's addresses); any thread may read.
        const PayloadReader* payloads = nullptr;

        static Source of(const PBContent& item);
    };

    // An image item's picture, scaled to fit `box` (device pixels).
    QImage picture;
    // The Icon= value of the source application's entry (text and web addresses).
    QString appIconName;
    // The theme icon names of a file's type, best first (files).
    QStringList fileIconNames;
    // The description where it comes from the files: a picture's size and bytes, a file's path.
    QString description;

    // Reads what the source names. Any thread.
    static RowArtwork make(const Source& source, const QSize& box);
    // The memory it holds, for the cache's budget.
    qsizetype cost() const;
};
