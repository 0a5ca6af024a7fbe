#pragma once

#include "capture/PBContent.h"

// An image; its first payload is the picture, the keyword stays empty.
class PBImageContent : public PBContent
{
public:
    // The pasteboard types that make a pasteboard item an item of this class.
    static const QStringList& supportPasteboardTypes();

    PBContentType type() const override { return PBContentTypeImage; }

protected:
    QString computeDesc() override;
    void computeIcon(QIcon& icon, QSize& size) override;
};
