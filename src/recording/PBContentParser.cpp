#include "recording/PBContentParser.h"

#include "item/PBFileContent.h"
#include "item/PBImageContent.h"
#include "item/PBTextContent.h"
#include "item/PBURLContent.h"
#include "platform/PasteboardItem.h"
#include "platform/PasteboardTypes.h"
#include "support/Logging.h"
#include "support/StringAdditions.h"

#include <algorithm>

PBContentPtr PBContentParser::contentWithPasteboardItem(const PasteboardItem& item,
                                                        const Clock& clock, const UuidSource& uuids)
{
    QString searchableText;
    PBContentPtr content;
    for (const QString& type : item.types()) {
        content = contentForType(item, type, clock, uuids, searchableText);
        if (content)
            break;
    }
    if (!content)
        return nullptr;

    QList<QByteArray> payloads;
    for (const QString& type : item.types()) {
        if (auto bytes = item.dataForType(type))
            payloads.append(std::move(*bytes));
    }
    content->setDataArray(std::move(payloads));
    content->setPasteboardTypes(item.types());
    // Never absent after capture: a missing text is the empty one.
    content->setKeyword(searchableText.isNull() ? QStringLiteral("") : searchableText);
    // Debug level: the keyword is whatever the user copied, passwords included, so it is only
    // written when the category is switched on.
    qCDebug(lcCapture, "keyword: %s", qUtf8Printable(content->keyword()));
    return content;
}

PBContentPtr PBContentParser::contentForType(const PasteboardItem& item, const QString& type,
                                             const Clock& clock, const UuidSource& uuids,
                                             QString& searchableText)
{
    if (PBTextContent::supportPasteboardTypes().contains(type)) {
        bool whole = true;
        searchableText = plainText(item, &whole);
        // A text too long to be kept whole is never taken for a web address: no address is
        // that long, and testing one would mean decoding all of it.
        if (whole && StringAdditions::isUrl(searchableText))
            return PBContent::createInstance<PBURLContent>(clock, uuids);
        return PBContent::createInstance<PBTextContent>(clock, uuids);
    }
    if (PBFileContent::supportPasteboardTypes().contains(type)) {
        const auto address =
            StringAdditions::decodeUtf8(item.dataForType(type).value_or(QByteArray()));
        const auto decoded = address ? StringAdditions::decodeString(*address) : std::nullopt;
        searchableText = decoded ? leadingText(decoded->toUtf8()) : QString();
        return PBContent::createInstance<PBFileContent>(clock, uuids);
    }
    if (PBImageContent::supportPasteboardTypes().contains(type))
        return PBContent::createInstance<PBImageContent>(clock, uuids);
    if (PBURLContent::supportPasteboardTypes().contains(type)) {
        searchableText = plainText(item);
        return PBContent::createInstance<PBURLContent>(clock, uuids);
    }
    return nullptr;
}

QString PBContentParser::plainText(const PasteboardItem& item, bool* whole)
{
    const std::optional<QByteArray> bytes = item.dataForType(PasteboardTypes::string);
    return bytes ? leadingText(*bytes, whole) : QString();
}

QString PBContentParser::leadingText(QByteArrayView utf8, bool* whole)
{
    qsizetype end = std::min(utf8.size(), keywordLimit);
    if (whole)
        *whole = end == utf8.size();
    // Back over the continuation bytes (10xxxxxx) of a sequence the limit falls into; a longer
    // run of them is no sequence at all and is cut anywhere.
    for (int back = 0; back < 3 && end < utf8.size() && (utf8[end] & 0xC0) == 0x80; ++back)
        --end;
    if (end < utf8.size() && (utf8[end] & 0xC0) == 0x80)
        end = std::min(utf8.size(), keywordLimit);
    return QString::fromUtf8(utf8.first(end));
}
