#include "platform/MimeTypeMapping.h"

#include "platform/PasteboardTypes.h"

#include <QHash>
#include <QMimeData>
#include <QUrl>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QString uriList = u"text/uri-list"_s;
const QString mozUrl = u"text/x-moz-url"_s;
const QString gnomeCopiedFiles = u"x-special/gnome-copied-files"_s;
const QString plainText = u"text/plain"_s;
const QString imagePng = u"image/png"_s;
const QString passwordManagerHint = u"x-kde-passwordManagerHint"_s;

// Formats that are never types although they look like MIME types: Qt's internal image (a
// duplicate of the PNG), and image/ppm, under which Qt's xcb plugin reports the X11 PIXMAP
// target (a server-side pixmap, not a file format).
const QStringList skippedFormats = {u"application/x-qt-image"_s, u"image/ppm"_s};

// Formats whose bytes are taken as they are, by the identifier they stand for.
const QHash<QString, QString> identifierForMime = {
    {u"text/plain;charset=utf-8"_s, PasteboardTypes::string},
    {plainText, PasteboardTypes::string},
    {u"text/html"_s, PasteboardTypes::html},
    {u"text/rtf"_s, PasteboardTypes::rtf},
    {u"application/rtf"_s, PasteboardTypes::rtf},
    {u"text/richtext"_s, PasteboardTypes::rtf},
    {imagePng, PasteboardTypes::png},
    {u"image/tiff"_s, PasteboardTypes::tiff},
    {u"application/pdf"_s, PasteboardTypes::pdf},
};

const QHash<QString, QStringList> mimesForIdentifier = {
    {PasteboardTypes::string, {u"text/plain;charset=utf-8"_s, plainText}},
    {PasteboardTypes::html, {u"text/html"_s}},
    {PasteboardTypes::rtf, {u"text/rtf"_s, u"application/rtf"_s}},
    {PasteboardTypes::png, {imagePng}},
    {PasteboardTypes::tiff, {u"image/tiff"_s}},
    {PasteboardTypes::pdf, {u"application/pdf"_s}},
};

// MIME types compare without case and without blanks around parameters.
QString mimeOf(const QString& format)
{
    return format.toLower().remove(u' ');
}

bool isMimeShaped(const QString& mime)
{
    const qsizetype slash = mime.indexOf(u'/');
    return slash > 0 && slash < mime.size() - 1;
}

// The formats that become types, in the owner's order. An owner offering an image lists every
// conversion its toolkit can make, each computed on request: only the first image format and
// PNG are kept.
QStringList typeFormats(const QStringList& formats)
{
    QStringList types;
    QStringList mimes;
    bool hasImage = false;
    for (const QString& format : formats) {
        const QString mime = mimeOf(format);
        if (!isMimeShaped(mime) || skippedFormats.contains(mime) || mimes.contains(mime))
            continue;
        if (mime.startsWith(u"image/"_s)) {
            if (hasImage && mime != imagePng)
                continue;
            hasImage = true;
        }
        types.append(format);
        mimes.append(mime);
    }
    return types;
}

// The absolute URIs of a uri-list, in order and each once; comments, blank lines and anything
// that is not an absolute URI (such as the title line of text/x-moz-url, or the "copy" line of
// x-special/gnome-copied-files) are left out.
QStringList urisIn(const QByteArray& bytes)
{
    QStringList uris;
    for (const QByteArray& line : bytes.split('\n')) {
        const QString text = QString::fromUtf8(line.trimmed());
        if (text.isEmpty() || text.startsWith(u'#') || uris.contains(text))
            continue;
        // Tolerant, since some programs leave blanks and non-ASCII letters unescaped.
        const QUrl url(text);
        if (url.isValid() && !url.isRelative())
            uris.append(text);
    }
    return uris;
}

QString identifierForUri(const QString& uri)
{
    return QUrl(uri).isLocalFile() ? PasteboardTypes::fileUrl : PasteboardTypes::url;
}

bool allLocalFiles(const QStringList& uris)
{
    return !uris.isEmpty() && std::all_of(uris.cbegin(), uris.cend(), [](const QString& uri) {
        return QUrl(uri).isLocalFile();
    });
}

// The URIs a stored file address holds: one per line. An address stored before lists were kept
// whole is a single URI, which reads the same.
QList<QByteArray> storedUris(const QByteArray& payload)
{
    QList<QByteArray> uris;
    for (const QByteArray& line : payload.split('\n')) {
        const QByteArray uri = line.trimmed();
        if (!uri.isEmpty())
            uris.append(uri);
    }
    return uris;
}

// The format whose URIs decide whether the content is several items: the uri-list, or a GNOME
// file list offered without one (some file managers offer only that).
QString listFormat(const QStringList& formats)
{
    for (const QString& format : formats) {
        if (mimeOf(format) == uriList)
            return format;
    }
    for (const QString& format : formats) {
        if (mimeOf(format) == gnomeCopiedFiles)
            return format;
    }
    return {};
}

// The identifier and bytes a format stands for; an empty identifier when it is unmapped. A URI
// format holding exactly one URI stands for that URI's text, which is what the item model
// decodes; one holding only files stands for all of them, one URI a line, so that a copy of
// several files stays the one item the user copied.
std::pair<QString, QByteArray> identify(const QString& format, const QByteArray& bytes,
                                        const QString& list)
{
    const QString mime = mimeOf(format);
    if (mime == uriList || mime == mozUrl || (mime == gnomeCopiedFiles && format == list)) {
        QStringList uris = urisIn(bytes);
        if (mime == mozUrl)
            uris = uris.mid(0, 1);
        if (allLocalFiles(uris))
            return {PasteboardTypes::fileUrl, uris.join(u'\n').toUtf8()};
        if (uris.size() != 1)
            return {};
        return {identifierForUri(uris.first()), uris.first().toUtf8()};
    }
    return {identifierForMime.value(mime), bytes};
}

PasteboardItem itemOf(const QList<std::pair<QString, QByteArray>>& formats, const QString& list)
{
    QStringList types;
    QList<std::pair<QString, QByteArray>> data;
    for (const auto& [format, bytes] : formats) {
        auto [identifier, value] = identify(format, bytes, list);
        if (identifier.isEmpty() || types.contains(identifier))
            data.append({format, bytes});
        else
            data.append({identifier, value});
        types.append(data.last().first);
    }
    return PasteboardItem(types, data);
}

// Every file of the item, in each of the forms file managers and editors read.
QList<std::pair<QString, QByteArray>> formatsForFiles(const QList<QByteArray>& uris)
{
    if (uris.isEmpty())
        return {};
    QList<QByteArray> paths;
    for (const QByteArray& uri : uris)
        paths.append(QUrl::fromEncoded(uri).toLocalFile().toUtf8());
    return {{uriList, uris.join("\r\n") + "\r\n"},
            {gnomeCopiedFiles, "copy\n" + uris.join('\n')},
            {plainText, paths.join('\n')}};
}

QList<std::pair<QString, QByteArray>> formatsForType(const QString& type, const QByteArray& payload)
{
    const QByteArray uri = payload.trimmed();
    if (type == PasteboardTypes::fileUrl)
        return formatsForFiles(storedUris(payload));
    if (type == PasteboardTypes::url)
        return {{uriList, uri + "\r\n"}, {plainText, uri}};
    QList<std::pair<QString, QByteArray>> formats;
    const QStringList mimes = mimesForIdentifier.value(
        type, isMimeShaped(mimeOf(type)) ? QStringList{type} : QStringList{});
    for (const QString& mime : mimes)
        formats.append({mime, payload});
    return formats;
}

} // namespace

QList<PasteboardItem> MimeTypeMapping::itemsFromFormats(const QStringList& formats,
                                                        const Reader& read)
{
    // Password managers mark what they copy so that clipboard histories leave it alone. A hint
    // that could not be read may have said so: better one copy missed than a password kept.
    if (formats.contains(passwordManagerHint)) {
        const std::optional<QByteArray> hint = read(passwordManagerHint);
        if (!hint || *hint == "secret")
            return {};
    }

    QStringList types;
    QList<std::pair<QString, QByteArray>> data;
    for (const QString& format : typeFormats(formats)) {
        if (std::optional<QByteArray> bytes = read(format)) {
            types.append(format);
            data.append({format, std::move(*bytes)});
        }
    }
    if (data.isEmpty())
        return {};

    // Copying several files in a file manager is one item holding every file, as the user
    // copied them; a list of several web addresses is one URL item per address, since a URL item
    // holds one address.
    const QString list = listFormat(types);
    const auto listData = std::find_if(data.cbegin(), data.cend(),
                                       [&](const auto& entry) { return entry.first == list; });
    const QStringList uris = listData == data.cend() ? QStringList() : urisIn(listData->second);
    if (uris.size() < 2 || allLocalFiles(uris))
        return {itemOf(data, list)};

    QList<PasteboardItem> items;
    for (const QString& uri : uris) {
        const QString identifier = identifierForUri(uri);
        items.append(PasteboardItem({identifier}, {{identifier, uri.toUtf8()}}));
    }
    return items;
}

QList<std::pair<QString, QByteArray>>
MimeTypeMapping::formatsForItem(const QStringList& types, const QList<QByteArray>& payloads)
{
    QList<std::pair<QString, QByteArray>> formats;
    QStringList written;
    const qsizetype count = std::min(types.size(), payloads.size());
    for (qsizetype i = 0; i < count; ++i) {
        for (auto& [mime, bytes] : formatsForType(types[i], payloads[i])) {
            if (written.contains(mime))
                continue;
            written.append(mime);
            formats.append({mime, bytes});
        }
    }
    return formats;
}

std::unique_ptr<QMimeData> MimeTypeMapping::mimeDataForItem(const QStringList& types,
                                                            const QList<QByteArray>& payloads)
{
    auto mimeData = std::make_unique<QMimeData>();
    for (const auto& [format, bytes] : formatsForItem(types, payloads))
        mimeData->setData(format, bytes);
    return mimeData;
}
