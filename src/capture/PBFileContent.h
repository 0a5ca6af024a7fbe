#pragma once

#include "capture/PBContent.h"

// A file or folder; its first payload is the file address as text.
class PBFileContent : public PBContent
{
public:
    // The pasteboard types that make a pasteboard item an item of this class.
    static const QStringList& supportPasteboardTypes();

    PBContentType type() const override { return PBContentTypeFile; }

    // The absolute path of the copied file or folder, from the first payload; a null string when
    // the address is not valid UTF-8 or holds an invalid escape.
    QString filePath();
    std::optional<QUrl> previewItemURL() override;

protected:
    QString computeDesc() override;
    void computeIcon(QIcon& icon, QSize& size) override;

private:
    std::optional<QString> m_filePath;
};
