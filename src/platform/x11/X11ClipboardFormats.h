#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// How the formats of an X11 clipboard owner are named and decoded, the way Qt's xcb clipboard
// presents them: the text targets (UTF8_STRING, STRING, TEXT) are "text/plain", PIXMAP is
// "image/ppm", a Mozilla URL is "text/uri-list", and text arrives as UTF-8 whatever the target's
// encoding. Everything else keeps its target name.
class X11ClipboardFormats
{
public:
    // The owner's targets as formats, in the owner's order, each format once.
    static QStringList formatsForTargets(const QList<QByteArray>& targets);
    // The target to ask for a format, among those the owner offers; empty when none fits.
    static QByteArray targetForFormat(const QString& format, const QList<QByteArray>& targets);
    // The bytes of a format as read from the target.
    static QByteArray decode(const QString& format, const QByteArray& target, QByteArray bytes);
};
