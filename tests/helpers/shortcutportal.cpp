// A desktop portal offering org.freedesktop.portal.GlobalShortcuts on the session bus, for the
// tests: sessions made through CreateSession, shortcuts bound once per session through
// BindShortcuts and listed through ListShortcuts, each answered by the Response signal of a
// request object, and the Activated signal sent on request of the test.
//
//   shortcutportal [--decline ID]... [--without-shortcuts]
//
// --decline: BindShortcuts leaves that id out of what it binds, as a user declining it would.
// --without-shortcuts: the portal runs but offers no global shortcuts (a desktop without them).
// The test presses a shortcut by calling Press(s id) on /org/vantrel/test/portal, interface
// org.vantrel.test.Portal: each live session holding the id gets Activated. Every step is
// written to standard output, one line each ("session PATH", "bound PATH ID TRIGGER",
// "declined PATH ID", "closed PATH", "pressed PATH ID"), and "ready" once the name is owned.
#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QMap>
#include <QSet>
#include <QStringList>
#include <cstdio>

namespace {
const QString service = QStringLiteral("org.freedesktop.portal.Desktop");
const QString root = QStringLiteral("/org/freedesktop/portal/desktop");
const QString shortcutsInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString controlPath = QStringLiteral("/org/vantrel/test/portal");

struct Shortcut
{
    QString id;
    QVariantMap properties;
};

QDBusArgument& operator<<(QDBusArgument& argument, const Shortcut& shortcut)
{
    argument.beginStructure();
    argument << shortcut.id << shortcut.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, Shortcut& shortcut)
{
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.properties;
    argument.endStructure();
    return argument;
}

void say(const QString& line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

struct Session
{
    QString owner;
    bool bound = false;
    QList<Shortcut> shortcuts;
};
} // namespace

Q_DECLARE_METATYPE(Shortcut)

class Portal : public QDBusVirtualObject
{
public:
    Portal(QDBusConnection bus, QSet<QString> declined, bool offersShortcuts)
        : m_bus(std::move(bus)), m_declined(std::move(declined)), m_offers(offersShortcuts)
    {}

    QString introspect(const QString&) const override { return {}; }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection&) override
    {
        const QString member = message.member();
        if (message.path() == controlPath && member == QLatin1String("Press"))
            return press(message);
        if (message.interface() == QLatin1String("org.freedesktop.DBus.Properties"))
            return property(message);
        if (message.interface() == QLatin1String("org.freedesktop.portal.Session") &&
            member == QLatin1String("Close"))
            return close(message);
        if (message.interface() != shortcutsInterface || !m_offers)
            return fail(message, QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"));
        if (member == QLatin1String("CreateSession"))
            return createSession(message);
        if (member == QLatin1String("BindShortcuts"))
            return bindShortcuts(message);
        if (member == QLatin1String("ListShortcuts"))
            return listShortcuts(message);
        return fail(message, QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"));
    }

private:
    bool fail(const QDBusMessage& message, const QString& error)
    {
        m_bus.send(message.createErrorReply(error, message.member()));
        return true;
    }

    bool property(const QDBusMessage& message)
    {
        const QVariantList arguments = message.arguments();
        if (!m_offers || arguments.value(0).toString() != shortcutsInterface ||
            arguments.value(1).toString() != QLatin1String("version"))
            return fail(message, QStringLiteral("org.freedesktop.DBus.Error.UnknownProperty"));
        m_bus.send(message.createReply(QVariant::fromValue(QDBusVariant(uint(1)))));
        return true;
    }

    static QString senderElement(const QDBusMessage& message)
    {
        QString sender = message.service().mid(1);
        return sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    }

    // Replies with the request object's path, then answers on it.
    void answer(const QDBusMessage& message, const QVariantMap& options, uint response,
                const QVariantMap& results)
    {
        const QString path = root + QStringLiteral("/request/") + senderElement(message) +
                             QLatin1Char('/') +
                             options.value(QStringLiteral("handle_token")).toString();
        m_bus.send(message.createReply(QVariant::fromValue(QDBusObjectPath(path))));
        QDBusMessage signal = QDBusMessage::createTargetedSignal(
            message.service(), path, QStringLiteral("org.freedesktop.portal.Request"),
            QStringLiteral("Response"));
        signal << response << results;
        m_bus.send(signal);
    }

    static QVariantMap optionsAt(const QDBusMessage& message, int index)
    {
        return qdbus_cast<QVariantMap>(message.arguments().value(index));
    }

    bool createSession(const QDBusMessage& message)
    {
        const QVariantMap options = optionsAt(message, 0);
        const QString path = root + QStringLiteral("/session/") + senderElement(message) +
                             QLatin1Char('/') +
                             options.value(QStringLiteral("session_handle_token")).toString();
        m_sessions.insert(path, Session{message.service(), false, {}});
        say(QStringLiteral("session ") + path);
        answer(message, options, 0, {{QStringLiteral("session_handle"), path}});
        return true;
    }

    Session* ownSession(const QDBusMessage& message)
    {
        const QString path = message.arguments().value(0).value<QDBusObjectPath>().path();
        const auto found = m_sessions.find(path);
        if (found == m_sessions.end() || found->owner != message.service())
            return nullptr;
        return &*found;
    }

    bool bindShortcuts(const QDBusMessage& message)
    {
        const QVariantMap options = optionsAt(message, 3);
        Session* session = ownSession(message);
        if (!session || session->bound) {
            answer(message, options, 2, {});
            return true;
        }
        session->bound = true;
        const QString path = message.arguments().value(0).value<QDBusObjectPath>().path();
        QList<Shortcut> asked;
        message.arguments().value(1).value<QDBusArgument>() >> asked;
        for (const Shortcut& shortcut : std::as_const(asked)) {
            if (m_declined.contains(shortcut.id)) {
                say(QStringLiteral("declined %1 %2").arg(path, shortcut.id));
                continue;
            }
            const QString trigger =
                shortcut.properties.value(QStringLiteral("preferred_trigger")).toString();
            say(QStringLiteral("bound %1 %2 %3 %4")
                    .arg(path, shortcut.id, trigger,
                         shortcut.properties.value(QStringLiteral("description")).toString()));
            session->shortcuts.append({shortcut.id,
                                       {{QStringLiteral("description"),
                                         shortcut.properties.value(QStringLiteral("description"))},
                                        {QStringLiteral("trigger_description"), trigger}}});
        }
        answer(message, options, 0,
               {{QStringLiteral("shortcuts"), QVariant::fromValue(session->shortcuts)}});
        return true;
    }

    bool listShortcuts(const QDBusMessage& message)
    {
        const QVariantMap options = optionsAt(message, 1);
        Session* session = ownSession(message);
        if (!session) {
            answer(message, options, 2, {});
            return true;
        }
        answer(message, options, 0,
               {{QStringLiteral("shortcuts"), QVariant::fromValue(session->shortcuts)}});
        return true;
    }

    bool close(const QDBusMessage& message)
    {
        const auto found = m_sessions.find(message.path());
        if (found != m_sessions.end() && found->owner == message.service()) {
            m_sessions.erase(found);
            say(QStringLiteral("closed ") + message.path());
        }
        m_bus.send(message.createReply());
        return true;
    }

    bool press(const QDBusMessage& message)
    {
        const QString id = message.arguments().value(0).toString();
        for (auto session = m_sessions.cbegin(); session != m_sessions.cend(); ++session) {
            for (const Shortcut& shortcut : session->shortcuts) {
                if (shortcut.id != id)
                    continue;
                say(QStringLiteral("pressed %1 %2").arg(session.key(), id));
                QDBusMessage signal = QDBusMessage::createSignal(root, shortcutsInterface,
                                                                 QStringLiteral("Activated"));
                signal << QVariant::fromValue(QDBusObjectPath(session.key())) << id
                       << qulonglong(++m_time) << QVariantMap();
                m_bus.send(signal);
            }
        }
        m_bus.send(message.createReply());
        return true;
    }

    QDBusConnection m_bus;
    QSet<QString> m_declined;
    bool m_offers;
    QMap<QString, Session> m_sessions;
    qulonglong m_time = 0;
};

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    qDBusRegisterMetaType<Shortcut>();
    qDBusRegisterMetaType<QList<Shortcut>>();
    QSet<QString> declined;
    bool offers = true;
    const QStringList arguments = app.arguments();
    for (int i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--decline") && i + 1 < arguments.size())
            declined.insert(arguments[++i]);
        else if (arguments[i] == QLatin1String("--without-shortcuts"))
            offers = false;
    }
    QDBusConnection bus = QDBusConnection::sessionBus();
    Portal portal(bus, declined, offers);
    if (!bus.registerVirtualObject(root, &portal, QDBusConnection::SubPath) ||
        !bus.registerVirtualObject(controlPath, &portal) || !bus.registerService(service)) {
        std::fprintf(stderr, "shortcutportal: cannot serve on the session bus\n");
        return 1;
    }
    say(QStringLiteral("ready"));
    return app.exec();
}
