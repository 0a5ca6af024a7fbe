#pragma once

#include "item/PBContent.h"

// Plain or formatted text; its keyword is the plain text.
class PBTextContent : public PBContent
{
public:
    // The pasteboard types that make a pasteboard item an item of this class.
    static const QStringList& supportPasteboardTypes();

    PBContentType type() const override { return PBContentTypeText; }

protected:
    QString computeDesc() override;
    void computeIcon(QIcon& icon, QSize& size) override;
};
