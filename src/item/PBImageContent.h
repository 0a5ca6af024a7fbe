#pragma once

#include "item/PBContent.h"

// An image; its first payload is the picture, the keyword stays empty.
class PBImageContent : public PBContent
{
public:
    // The pasteboard types that make a pasteboard item an item of this class.
    static const QStringList& supportPasteboardTypes();

    PBContentType type() const override { return PBContentTypeImage; }

    // "640×480 \n19 KB": the picture's size and the byte count of its first payload.
    static QString descriptionFor(const QSize& size, qint64 bytes);

protected:
    QString computeDesc() override;
    void computeIcon(QIcon& icon, QSize& size) override;
};
