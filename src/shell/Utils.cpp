#include "shell/Utils.h"

#include "item/PBFileContent.h"
#include "platform/xdg/FileManagerDBus.h"
#include "shell/Dialogs.h"
#include "storage/DBManager.h"
#include "support/Logging.h"
#include "support/StringAdditions.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>
#include <QWidget>

void Utils::openContent(const PBContentPtr& item, QWidget* parent)
{
    if (!item)
        return;
    if (item->type() == PBContentTypeURL)
        openWebAddress(item->keyword(), parent);
    else if (item->type() == PBContentTypeFile)
        revealFile(static_cast<PBFileContent&>(*item).filePath(), parent);
}

void Utils::openWebAddress(const QString& text, QWidget* parent)
{
    // What people copy as an address (web, mail, file transfer, shares, phone numbers) opens with
    // the desktop's handler at once. Any other scheme (file:, a script, a custom handler) can
    // start programs, so the user sees the address and agrees first.
    static const QStringList directSchemes = {QStringLiteral("http"),   QStringLiteral("https"),
                                              QStringLiteral("mailto"), QStringLiteral("ftp"),
                                              QStringLiteral("sftp"),   QStringLiteral("smb"),
                                              QStringLiteral("tel")};
    const QUrl url = address(text);
    if (!url.isValid() || url.scheme().isEmpty() || (isWebScheme(url) && url.host().isEmpty())) {
        qCInfo(lcShell) << "not an address, nothing opened";
        return;
    }
    if (directSchemes.contains(url.scheme().toLower())) {
        QDesktopServices::openUrl(url);
        return;
    }
    const QString question =
        QCoreApplication::translate("Utils", "Open this address with its handler?\n\n%1")
            .arg(url.toDisplayString());
    Dialogs::confirm(parent, question, QCoreApplication::translate("Utils", "Cancel"),
                     QCoreApplication::translate("Utils", "Open"), [url](bool accepted) {
                         if (accepted)
                             QDesktopServices::openUrl(url);
                     });
}

std::optional<QUrl> Utils::webAddress(const QString& text)
{
    // Only a real web address is loaded as a page.
    const QUrl url = address(text);
    if (url.isValid() && isWebScheme(url) && !url.host().isEmpty())
        return url;
    return std::nullopt;
}

// "www.host" text was taken for a web address as if "http://" stood in front, so it stands for
// that address.
QUrl Utils::address(const QString& text)
{
    const QString trimmed = text.trimmed();
    const bool bareHost =
        trimmed.startsWith(QStringLiteral("www.")) && StringAdditions::isUrl(trimmed);
    return QUrl(bareHost ? QStringLiteral("http://") + trimmed : trimmed, QUrl::StrictMode);
}

bool Utils::isWebScheme(const QUrl& url)
{
    const QString scheme = url.scheme().toLower();
    return scheme == QStringLiteral("http") || scheme == QStringLiteral("https");
}

void Utils::revealFile(const QString& path, QWidget* parent)
{
    if (!QDir::isAbsolutePath(path) || !QFileInfo(path).exists()) {
        Dialogs::alert(parent, QCoreApplication::translate("Utils", "File has been moved"));
        return;
    }
    FileManagerDBus::showItem(path, qApp, [path](bool shown) {
        if (!shown)
            QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absolutePath()));
    });
}

// The marks change only once they are stored: the unmarked items are marked first, then the
// marked ones unmarked, and the block runs after both.
void Utils::toggleMarked(DBManager& store, const QList<PBContentPtr>& items,
                         std::function<void()> block)
{
    QList<PBContentPtr> toMark;
    QList<PBContentPtr> toUnmark;
    for (const PBContentPtr& item : items)
        (item->marked ? toUnmark : toMark).append(item);
    if (toMark.isEmpty()) {
        store.updateFavorite(toUnmark, false, std::move(block));
        return;
    }
    if (toUnmark.isEmpty()) {
        store.updateFavorite(toMark, true, std::move(block));
        return;
    }
    store.updateFavorite(toMark, true, [&store, toUnmark, block = std::move(block)] {
        store.updateFavorite(toUnmark, false, block);
    });
}

void Utils::bringToFront(QWidget* window)
{
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
}

void Utils::email()
{
    QDesktopServices::openUrl(QUrl(QStringLiteral("mailto:" VANTREL_SUPPORT_EMAIL)));
}
