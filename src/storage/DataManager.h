#pragma once

#include "item/PayloadReader.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class PBContent;
class WriteFailureLog;

// Keeps the payloads of clipboard items as files, one per payload, in one payload folder:
// "<uuid>.<ext>" for the first payload (the extension from the item's first pasteboard type),
// "<uuid> 2.data", "<uuid> 3.data", ... for the others. Folders it creates are mode 0700 and files
// 0600, since the payloads are whatever the user copied.
class DataManager : public PayloadReader
{
public:
    // A store over the payload folder `savePath`, created with its missing parents on first save.
    explicit DataManager(QString savePath);
    ~DataManager() override;

    // The payload folder, created (with its missing parents) when it does not exist.
    QString savePath() const;

    // Writes every payload of the item atomically, replacing files of the same names, and returns
    // their paths in payload order (empty for an item without payloads); the item then reads its
    // payloads through this store. nullopt when a payload could not be written; the files this
    // call had written are then removed again, so a failed save leaves nothing behind, and the
    // log says why once for a run of failures with the same reason (a full disk fails every
    // copy).
    std::optional<QStringList> saveDataOfContent(PBContent& content) const;

    // The file's whole contents; nullopt when it cannot be read.
    static std::optional<QByteArray> dataWithPath(const QString& path);
    std::optional<QByteArray> readPayload(const QString& path) const override;

    // Removes the item's payload files, skipping any path that does not lie directly in the
    // payload folder (whatever the stored paths say) and ignoring files already gone.
    void deleteDataOfContent(const PBContent& content) const;

    // The extension of an item's first payload file for the item's first pasteboard type.
    static QString extensionForType(const QString& type);

private:
    QString pathOfPayload(const QString& uuid, qsizetype index, const QString& extension) const;

    const QString m_savePath;
    std::unique_ptr<WriteFailureLog> m_writeFailures;
};
