// mutter-keyboard: gives a headless mutter's seat a keyboard, which it has none of at start, so
// that its Wayland clients can take the focus and the clipboard. A remote-desktop session of
// mutter's own D-Bus interface makes a virtual keyboard the first time a key goes through it:
// one Shift is pressed and released. The keyboard lives as long as the session, which lives as
// long as this program's connection to the bus.
//
//   mutter-keyboard        prints "ready" once the key went through, then runs until killed
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <cstdio>

namespace {
const QString service = QStringLiteral("org.gnome.Mutter.RemoteDesktop");
constexpr uint shiftKeycode = 42; // evdev KEY_LEFTSHIFT

bool failed(const QDBusMessage& reply, const char* step)
{
    if (reply.type() != QDBusMessage::ErrorMessage)
        return false;
    std::fprintf(stderr, "mutter-keyboard: %s: %s\n", step, qPrintable(reply.errorMessage()));
    return true;
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QDBusConnection bus = QDBusConnection::sessionBus();
    QDBusInterface remoteDesktop(service, QStringLiteral("/org/gnome/Mutter/RemoteDesktop"),
                                 service, bus);
    const QDBusReply<QDBusObjectPath> path = remoteDesktop.call(QStringLiteral("CreateSession"));
    if (!path.isValid()) {
        std::fprintf(stderr, "mutter-keyboard: CreateSession: %s\n",
                     qPrintable(path.error().message()));
        return 1;
    }
    QDBusInterface session(service, path.value().path(), service + QStringLiteral(".Session"), bus);
    if (failed(session.call(QStringLiteral("Start")), "Start"))
        return 1;
    for (const bool pressed : {true, false}) {
        if (failed(session.call(QStringLiteral("NotifyKeyboardKeycode"), shiftKeycode, pressed),
                   "NotifyKeyboardKeycode"))
            return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
}
