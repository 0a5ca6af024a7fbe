#pragma once

#include "platform/PasteboardItem.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class QMimeData;
#include <functional>
#include <memory>
#include <optional>
#include <utility>

// Translates between the MIME formats of the Linux clipboard and the program's pasteboard type
// identifiers, in both directions. Knows nothing about how the formats are fetched: the caller
// lists an owner's formats and reads one format on request.
class MimeTypeMapping
{
public:
    // Fetches the bytes of one of the owner's formats; nothing when the format did not arrive.
    // A zero-byte answer is data.
    using Reader = std::function<std::optional<QByteArray>(const QString& format)>;

    // The clipboard items for an owner's formats, listed in the owner's order. Only the formats
    // that become types are read (plus the password-manager hint), each once; the rest are never
    // asked for, since converting them can be slow or upset the owner. Each identifier goes to
    // the first format that maps to it; a later format that maps to a taken identifier, or an
    // unmapped format, keeps its MIME name. A uri-list of files is one item holding every file (one
    // URI a line under public.file-url); one holding several web addresses gives one item per URI.
    // A format that did not arrive is left out; when none arrived there is no item. An owner that
    // offers the password-manager hint and does not give it is treated as one marking a secret.
    static QList<PasteboardItem> itemsFromFormats(const QStringList& formats, const Reader& read);

    // The MIME formats that stand for payloads[i] under types[i] (stopping at the end of the
    // shorter list), in order. An identifier sets every MIME type of its row; when two types set
    // the same MIME type the earlier one keeps it. A file address sets every file it holds.
    static QList<std::pair<QString, QByteArray>> formatsForItem(const QStringList& types,
                                                                const QList<QByteArray>& payloads);
    // The same formats as clipboard content for QClipboard::setMimeData.
    static std::unique_ptr<QMimeData> mimeDataForItem(const QStringList& types,
                                                      const QList<QByteArray>& payloads);
};
