#pragma once

#include <QString>

// The pasteboard type identifiers the program stores. The Linux pasteboard maps MIME types to
// and from them.
namespace PasteboardTypes {
inline const QString rtf = QStringLiteral("public.rtf");
inline const QString rtfd = QStringLiteral("com.apple.flat-rtfd");
inline const QString html = QStringLiteral("public.html");
inline const QString string = QStringLiteral("public.utf8-plain-text");
inline const QString pdf = QStringLiteral("com.adobe.pdf");
inline const QString tiff = QStringLiteral("public.tiff");
inline const QString png = QStringLiteral("public.png");
inline const QString fileUrl = QStringLiteral("public.file-url");
inline const QString url = QStringLiteral("public.url");
} // namespace PasteboardTypes
