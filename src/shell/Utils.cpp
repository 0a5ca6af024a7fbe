#include "shell/Utils.h"

#include "capture/PBFileContent.h"
#include "capture/PasteboardTypes.h"
#include "platform/FileManagerDBus.h"
#include "platform/LoginItems.h"
#include "platform/Platform.h"
#include "shell/Dialogs.h"
#include "shell/StringAdditions.h"
#include "storage/DBManager.h"
#include "support/Logging.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QUrl>
#include <QWidget>

void Utils::openContent(const PBContentPtr& item, QWidget* parent)
{
    if (!item)
        return;
    if (item->type() == PBContentTypeURL)
        openWebAddress(item->keyword);
    else if (item->type() == PBContentTypeFile)
        revealFile(static_cast<PBFileContent&>(*item).filePath(), parent);
}

void Utils::openWebAddress(const QString& text)
{
    if (const auto url = webAddress(text))
        QDesktopServices::openUrl(*url);
    else
        qCInfo(lcShell) << "not a web address, nothing opened";
}

std::optional<QUrl> Utils::webAddress(const QString& text)
{
    // Only a real web address is opened or loaded: any other scheme (file:, a script, a custom
    // handler) could run something the user never meant to open. "www.host" text was taken for a
    // web address as if "http://" stood in front, so it opens that way.
    const QString trimmed = text.trimmed();
    const bool bareHost =
        trimmed.startsWith(QStringLiteral("www.")) && StringAdditions::isUrl(trimmed);
    const QUrl url(bareHost ? QStringLiteral("http://") + trimmed : trimmed, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (url.isValid() && !url.host().isEmpty() &&
        (scheme == QStringLiteral("http") || scheme == QStringLiteral("https")))
        return url;
    return std::nullopt;
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

void Utils::toggleMarked(const QList<PBContentPtr>& items, std::function<void()> block)
{
    for (const PBContentPtr& item : items)
        item->marked = !item->marked;
    DBManager::sharedManager().updateFavorite(items, std::move(block));
}

void Utils::showSettingsWindow()
{
    // A stand-in until the preferences panel exists: an empty window with the panel's title,
    // made once and kept for the run like the real one will be.
    static QPointer<QWidget> window;
    if (!window) {
        window = new QWidget;
        window->setObjectName(QStringLiteral("settingsWindow"));
        window->setWindowTitle(QCoreApplication::translate("Utils", "Preferences"));
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, window, &QObject::deleteLater);
    }
    window->show();
    window->raise();
    window->activateWindow();
}

void Utils::email()
{
    QDesktopServices::openUrl(QUrl(QStringLiteral("mailto:" VANTREL_SUPPORT_EMAIL)));
}

void Utils::toggleLaunchAtStartup()
{
    LoginItems& loginItems = Platform::loginItems();
    loginItems.setEnabled(!loginItems.isEnabled());
}

bool Utils::isLaunchAtStartup()
{
    return Platform::loginItems().isEnabled();
}

QString Utils::urlType()
{
    return PasteboardTypes::url;
}

QString Utils::fileURLType()
{
    return PasteboardTypes::fileUrl;
}
