#pragma once

#include "item/PBContent.h"

// Files and folders copied together; the payload of the file-address type holds their addresses
// as text, one a line (a single address for one file, and for every item stored before lists were
// kept whole). It is usually the first payload, but an owner may list another format first (a
// GNOME file list ahead of its uri-list).
class PBFileContent : public PBContent
{
public:
    // The pasteboard types that make a pasteboard item an item of this class.
    static const QStringList& supportPasteboardTypes();

    PBContentType type() const override { return PBContentTypeFile; }

    // The absolute paths of the copied files and folders, in the order they were copied; an
    // address that is not valid UTF-8 or holds an invalid escape names no path.
    QStringList filePaths();
    // The first of them, or a null string when there is none.
    QString filePath();
    std::optional<QUrl> previewItemURL() override;

protected:
    // The first file's name, with "and N more" for the others; the empty text for none. The name,
    // not the path: a row is too narrow for a deep folder's path to leave the name in view.
    QString computeDesc() override;
    void computeIcon(QIcon& icon, QSize& size) override;

private:
    std::optional<QStringList> m_filePaths;
};
