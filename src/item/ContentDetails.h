#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// What an item shows and copies back but no list needs to order, count, retain or find it. A
// stored item reads these from its row when they are used, so a loaded history keeps only a few.
struct ContentDetails
{
    QString title;
    QStringList pasteboardTypes;
    QString app;
    QString keyword;
    // The payload paths as the history stores them: joined with "|", UTF-8; nullopt until set.
    std::optional<QByteArray> dataPaths;

    // Roughly the bytes these take: what a bounded cache of them counts.
    qsizetype cost() const
    {
        qsizetype bytes = sizeof(ContentDetails) + (title.size() + app.size() + keyword.size()) * 2;
        for (const QString& type : pasteboardTypes)
            bytes += type.size() * 2;
        return bytes + (dataPaths ? dataPaths->size() : 0);
    }
};
