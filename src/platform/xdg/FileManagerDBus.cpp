#include "platform/xdg/FileManagerDBus.h"

#include "support/Logging.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QMetaObject>
#include <QUrl>

namespace {
// A file manager started on demand by the bus needs a few seconds; one that has not answered by
// then is taken as absent.
constexpr int callTimeoutMs = 10000;
} // namespace

void FileManagerDBus::showItem(const QString& path, QObject* context,
                               std::function<void(bool)> done)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        QMetaObject::invokeMethod(
            context, [done] { done(false); }, Qt::QueuedConnection);
        return;
    }
    QDBusMessage message = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"),
        QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    const QString uri = QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
    message << QStringList{uri} << QStringLiteral("");
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(message, callTimeoutMs), context);
    QObject::connect(
        watcher, &QDBusPendingCallWatcher::finished, context, [watcher, done = std::move(done)] {
            watcher->deleteLater();
            if (watcher->isError())
                qCInfo(lcPlatform) << "FileManager1.ShowItems failed:" << watcher->error().name();
            done(!watcher->isError());
        });
}
