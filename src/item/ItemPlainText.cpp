#include "item/ItemPlainText.h"

#include "item/PBFileContent.h"
#include "platform/PasteboardTypes.h"
#include "support/RtfReader.h"

#include <QTextDocument>

namespace {
QString plainOfHtml(const QString& html)
{
    QTextDocument document;
    document.setHtml(html);
    return document.toPlainText();
}
} // namespace

std::optional<QString> ItemPlainText::of(const PBContentPtr& item)
{
    if (!item)
        return std::nullopt;
    switch (item->type()) {
    case PBContentTypeImage:
        return std::nullopt;
    case PBContentTypeFile: {
        const QStringList paths = std::static_pointer_cast<PBFileContent>(item)->filePaths();
        if (paths.isEmpty())
            return std::nullopt;
        return paths.join(u'\n');
    }
    case PBContentTypeText:
    case PBContentTypeURL:
        return ofText(item->readTypedPayloads());
    }
    return std::nullopt;
}

// The item's own plain text where it has one; otherwise the text of its HTML, then of its RTF.
std::optional<QString> ItemPlainText::ofText(const PBContent::TypedPayloads& typed)
{
    const auto payload = [&typed](const QString& type) -> std::optional<QByteArray> {
        const qsizetype index = typed.types.indexOf(type);
        return index < 0 ? std::nullopt : std::optional(typed.payloads.at(index));
    };
    if (const auto text = payload(PasteboardTypes::string))
        return QString::fromUtf8(*text);
    if (const auto html = payload(PasteboardTypes::html))
        return plainOfHtml(QString::fromUtf8(*html));
    if (const auto rtf = payload(PasteboardTypes::rtf)) {
        if (const std::optional<QString> html = RtfReader::toHtml(*rtf))
            return plainOfHtml(*html);
    }
    return std::nullopt;
}
