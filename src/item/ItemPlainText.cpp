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

PBContent::TypedPayloads plainPayload(const QString& text)
{
    return {{PasteboardTypes::string}, {text.toUtf8()}};
}
} // namespace

std::function<PBContent::TypedPayloads()> ItemPlainText::reading(const PBContentPtr& item)
{
    if (!item || item->type() == PBContentTypeImage)
        return {};
    if (item->type() == PBContentTypeFile) {
        const QStringList paths = std::static_pointer_cast<PBFileContent>(item)->filePaths();
        return [paths] {
            return paths.isEmpty() ? PBContent::TypedPayloads{} : plainPayload(paths.join(u'\n'));
        };
    }
    return [read = item->typedPayloadsReading()] {
        const std::optional<QString> text = ofText(read());
        return text ? plainPayload(*text) : PBContent::TypedPayloads{};
    };
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
