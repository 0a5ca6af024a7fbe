#include "capture/PBContentParser.h"

#include "capture/PBFileContent.h"
#include "capture/PBImageContent.h"
#include "capture/PBTextContent.h"
#include "capture/PBURLContent.h"
#include "platform/PasteboardItem.h"
#include "platform/PasteboardTypes.h"
#include "support/Logging.h"
#include "support/StringAdditions.h"

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
        searchableText = item.stringForType(PasteboardTypes::string).value_or(QString());
        if (StringAdditions::isUrl(searchableText))
            return PBContent::createInstance<PBURLContent>(clock, uuids);
        return PBContent::createInstance<PBTextContent>(clock, uuids);
    }
    if (PBFileContent::supportPasteboardTypes().contains(type)) {
        const auto address =
            StringAdditions::decodeUtf8(item.dataForType(type).value_or(QByteArray()));
        const auto decoded = address ? StringAdditions::decodeString(*address) : std::nullopt;
        searchableText = decoded.value_or(QString());
        return PBContent::createInstance<PBFileContent>(clock, uuids);
    }
    if (PBImageContent::supportPasteboardTypes().contains(type))
        return PBContent::createInstance<PBImageContent>(clock, uuids);
    if (PBURLContent::supportPasteboardTypes().contains(type)) {
        searchableText = item.stringForType(PasteboardTypes::string).value_or(QString());
        return PBContent::createInstance<PBURLContent>(clock, uuids);
    }
    return nullptr;
}
