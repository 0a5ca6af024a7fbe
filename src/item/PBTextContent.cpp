#include "item/PBTextContent.h"

#include "platform/PasteboardTypes.h"

const QStringList& PBTextContent::supportPasteboardTypes()
{
    static const QStringList types = {PasteboardTypes::rtf, PasteboardTypes::rtfd,
                                      PasteboardTypes::html, PasteboardTypes::string};
    return types;
}

QString PBTextContent::computeDesc()
{
    return trimmedKeyword();
}

void PBTextContent::computeIcon(QIcon& icon, QSize& size)
{
    sourceApplicationIcon(icon, size);
}
