#pragma once

#include "item/PBContent.h"

// A web address; its keyword is the plain text offered with it.
class PBURLContent : public PBContent
{
public:
    // The pasteboard types that make a pasteboard item an item of this class.
    static const QStringList& supportPasteboardTypes();

    PBContentType type() const override { return PBContentTypeURL; }

    // Web addresses have no document preview.
    std::optional<QUrl> previewItemURL() override { return std::nullopt; }

protected:
    QString computeDesc() override;
    void computeIcon(QIcon& icon, QSize& size) override;
};
