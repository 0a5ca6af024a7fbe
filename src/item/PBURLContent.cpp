#include "item/PBURLContent.h"

#include "platform/PasteboardTypes.h"

const QStringList& PBURLContent::supportPasteboardTypes()
{
    static const QStringList types = {PasteboardTypes::url};
    return types;
}

QString PBURLContent::computeDesc()
{
    return trimmedKeyword();
}

void PBURLContent::computeIcon(QIcon& icon, QSize& size)
{
    sourceApplicationIcon(icon, size);
}
