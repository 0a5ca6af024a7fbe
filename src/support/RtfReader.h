#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Reads the part of RTF that a clipboard preview needs: the text, paragraphs and line breaks,
// bold, italic, underline, and the text and background colours. Fonts, sizes, tables, pictures
// and every other destination are skipped; their text never leaks into the result.
class RtfReader
{
public:
    // The document as HTML that QTextDocument shows as it stands, or nullopt when the bytes are
    // not RTF. Malformed RTF (unbalanced groups, a truncated file) gives what could be read.
    static std::optional<QString> toHtml(const QByteArray& rtf);
};
