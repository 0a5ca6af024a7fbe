#include "platform/x11/X11ClipboardFormats.h"

#include <QStringDecoder>

using namespace Qt::StringLiterals;

namespace {
const QString plainText = u"text/plain"_s;
const QString uriList = u"text/uri-list"_s;
const QString html = u"text/html"_s;
const QByteArray utf8String = "UTF8_STRING"_ba;
const QByteArray mozUrl = "text/x-moz-url"_ba;

// In order of preference: UTF-8 first, so that nothing is lost to a narrower encoding.
const QList<QByteArray> textTargets = {utf8String, "STRING"_ba, "TEXT"_ba};

QString formatForTarget(const QByteArray& target)
{
    if (textTargets.contains(target))
        return plainText;
    if (target == "PIXMAP")
        return u"image/ppm"_s;
    if (target == mozUrl)
        return uriList;
    return QString::fromLatin1(target);
}

// Browsers hand out HTML and URLs as UTF-16, with or without a byte-order mark.
bool looksLikeUtf16(const QByteArray& bytes)
{
    if (bytes.size() < 2)
        return false;
    const auto first = static_cast<quint8>(bytes[0]);
    const auto second = static_cast<quint8>(bytes[1]);
    return (first == 0xff && second == 0xfe) || (first == 0xfe && second == 0xff) ||
           (first != 0 && second == 0) || (first == 0 && second != 0);
}
} // namespace

QStringList X11ClipboardFormats::formatsForTargets(const QList<QByteArray>& targets)
{
    QStringList formats;
    for (const QByteArray& target : targets) {
        const QString format = formatForTarget(target);
        if (!format.isEmpty() && !formats.contains(format))
            formats.append(format);
    }
    return formats;
}

QByteArray X11ClipboardFormats::targetForFormat(const QString& format,
                                                const QList<QByteArray>& targets)
{
    QList<QByteArray> candidates;
    if (format == plainText)
        candidates = textTargets;
    else if (format == uriList)
        candidates = {uriList.toLatin1(), mozUrl};
    else if (format == u"image/ppm"_s)
        candidates = {"PIXMAP"_ba};
    candidates.append(format.toLatin1());
    for (const QByteArray& candidate : std::as_const(candidates)) {
        if (targets.contains(candidate))
            return candidate;
    }
    return {};
}

QByteArray X11ClipboardFormats::decode(const QString& format, const QByteArray& target,
                                       QByteArray bytes)
{
    if (format == plainText && textTargets.contains(target)) {
        if (bytes.endsWith('\0'))
            bytes.chop(1);
        return target == utf8String ? bytes : QString::fromLatin1(bytes).toUtf8();
    }
    if ((format == html || format == uriList) && looksLikeUtf16(bytes)) {
        QStringDecoder decoder(QStringDecoder::Utf16);
        const QString text = decoder(bytes);
        return text.toUtf8();
    }
    return bytes;
}
