#pragma once

#include "item/PBContent.h"

#include <QList>
#include <QString>
#include <QUrl>
#include <functional>
#include <optional>

class DBManager;
class QWidget;

// Operations that reach outside the history: opening items, marking, bringing a window to the
// front, mail to support. Main thread only.
class Utils
{
public:
    Utils() = delete;

    // A web-address item opens with the desktop's handler for its scheme: web (with a host),
    // mail, ftp, sftp, smb and tel at once; any other scheme only after the user agreed to the
    // address shown, modal to `parent`; text that is no address opens nothing. A file item is shown
    // selected in the file manager, or its folder is opened where no file manager answers; when
    // nothing is at its path any more the alert "File has been moved" comes up, modal to `parent`
    // when one is given. Text and image items, and no item, do nothing.
    static void openContent(const PBContentPtr& item, QWidget* parent = nullptr);

    // Flips each item's mark in the store (a mixed list stays mixed) and stores the marks;
    // `block` runs on the main thread once the Marked list and the counts are up to date.
    static void toggleMarked(DBManager& store, const QList<PBContentPtr>& items,
                             std::function<void()> block);

    // Shows the window, not minimised, above the others and with the keyboard focus, so that
    // the application becomes the active one as far as the window manager allows.
    static void bringToFront(QWidget* window);

    // Starts a new mail to the support address in the user's mail program.
    static void email();

    // The http or https address a web-address item's text stands for ("www.host" text as if
    // "http://" stood in front); nullopt for any other text or scheme.
    static std::optional<QUrl> webAddress(const QString& text);

private:
    static void openWebAddress(const QString& text, QWidget* parent);
    static QUrl address(const QString& text);
    static bool isWebScheme(const QUrl& url);
    static void revealFile(const QString& path, QWidget* parent);
};
