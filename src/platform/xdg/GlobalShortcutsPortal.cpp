#include "platform/xdg/GlobalShortcutsPortal.h"

#include "platform/xdg/ShortcutTrigger.h"
#include "support/Logging.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <utility>

namespace {
const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString shortcutsInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString requestInterface = QStringLiteral("org.freedesktop.portal.Request");
const QString sessionInterface = QStringLiteral("org.freedesktop.portal.Session");
constexpr uint responseSuccess = 0;
constexpr uint responseFailed = 2;

// One element of the portal's a(sa{sv}) shortcut lists.
struct PortalShortcut
{
    QString id;
    QVariantMap properties;
};

QDBusArgument& operator<<(QDBusArgument& argument, const PortalShortcut& shortcut)
{
    argument.beginStructure();
    argument << shortcut.id << shortcut.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, PortalShortcut& shortcut)
{
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.properties;
    argument.endStructure();
    return argument;
}
} // namespace

Q_DECLARE_METATYPE(PortalShortcut)

GlobalShortcutsPortal::GlobalShortcutsPortal(const QDBusConnection& bus, QObject* parent)
    : GlobalShortcuts(parent), m_bus(bus), m_bindTimer(this)
{
    qDBusRegisterMetaType<PortalShortcut>();
    qDBusRegisterMetaType<QList<PortalShortcut>>();
    // The slots are found by their signature's type names, which Qt knows only once registered.
    qRegisterMetaType<QDBusObjectPath>();
    qRegisterMetaType<QDBusMessage>();
    m_bindTimer.setSingleShot(true);
    m_bindTimer.setInterval(0);
    connect(&m_bindTimer, &QTimer::timeout, this, &GlobalShortcutsPortal::bindAnew);
    if (!m_bus.connect(portalService, portalPath, shortcutsInterface, QStringLiteral("Activated"),
                       this, SLOT(onActivated(QDBusObjectPath, QString, qulonglong, QVariantMap))))
        qCWarning(lcPlatform, "cannot listen to the desktop portal's shortcut presses");
    askVersion();
}

GlobalShortcutsPortal::~GlobalShortcutsPortal()
{
    closeSession(m_session);
}

void GlobalShortcutsPortal::askVersion()
{
    QDBusMessage get = QDBusMessage::createMethodCall(
        portalService, portalPath, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    get << shortcutsInterface << QStringLiteral("version");
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(get), this);
    connect(
        watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* call) {
            call->deleteLater();
            const QDBusPendingReply<QDBusVariant> reply = *call;
            if (reply.isError()) {
                qCInfo(lcPlatform).noquote()
                    << "no global shortcuts portal:" << reply.error().message()
                    << "- bind `vantrel --show-main` or `--show-mini` in the desktop's shortcut "
                       "settings instead";
                setState(State::Unavailable);
                return;
            }
            qCInfo(lcPlatform, "global shortcuts through the desktop portal, version %u",
                   reply.value().variant().toUInt());
            setState(State::Ready);
            m_bindTimer.start();
        });
}

void GlobalShortcutsPortal::setState(State state)
{
    const bool wasAvailable = isAvailable();
    m_state = state;
    if (state == State::Unavailable) {
        for (auto wanted = m_wanted.cbegin(); wanted != m_wanted.cend(); ++wanted)
            setRefusal(wanted.key(), Refusal::Unavailable);
    }
    if (wasAvailable != isAvailable())
        emit availabilityChanged(isAvailable());
}

bool GlobalShortcutsPortal::registerShortcut(const QString& id, const QKeySequence& sequence)
{
    if (sequence.isEmpty()) {
        unregisterShortcut(id);
        return false;
    }
    m_wanted.insert(id, sequence);
    if (m_state == State::Unavailable) {
        setRefusal(id, Refusal::Unavailable);
        return false;
    }
    m_bindTimer.start();
    return true;
}

void GlobalShortcutsPortal::unregisterShortcut(const QString& id)
{
    setRefusal(id, Refusal::None);
    if (m_wanted.remove(id) && m_state == State::Ready)
        m_bindTimer.start();
}

void GlobalShortcutsPortal::setDescription(const QString& id, const QString& description)
{
    m_descriptions.insert(id, description);
}

GlobalShortcuts::Refusal GlobalShortcutsPortal::refusal(const QString& id) const
{
    return m_refusals.value(id, Refusal::None);
}

void GlobalShortcutsPortal::setRefusal(const QString& id, Refusal refusal)
{
    const Refusal before = m_refusals.value(id, Refusal::None);
    if (refusal == Refusal::None)
        m_refusals.remove(id);
    else
        m_refusals.insert(id, refusal);
    if (before != refusal)
        emit refusalChanged(id);
}

// The session of the previous binding goes with its shortcuts; the new one is bound afresh.
void GlobalShortcutsPortal::bindAnew()
{
    if (m_state != State::Ready)
        return;
    closeSession(std::exchange(m_session, QString()));
    ++m_generation;
    if (!m_wanted.isEmpty())
        createSession();
}

void GlobalShortcutsPortal::createSession()
{
    QVariantMap options{{QStringLiteral("session_handle_token"), nextToken()}};
    const int generation = m_generation;
    request(QStringLiteral("CreateSession"), {options},
            [this, generation](uint response, const QVariantMap& results) {
                // Once an object path, the handle is sent as a string; either is taken.
                const QVariant handle = results.value(QStringLiteral("session_handle"));
                const QString session = handle.userType() == qMetaTypeId<QDBusObjectPath>()
                                            ? handle.value<QDBusObjectPath>().path()
                                            : handle.toString();
                // The shortcuts changed while the session was being made: a newer one follows.
                if (generation != m_generation) {
                    closeSession(session);
                    return;
                }
                m_session = session;
                if (response != responseSuccess || m_session.isEmpty()) {
                    qCWarning(lcPlatform,
                              "the desktop portal refused a global shortcuts session (%u)",
                              response);
                    for (auto wanted = m_wanted.cbegin(); wanted != m_wanted.cend(); ++wanted)
                        setRefusal(wanted.key(), Refusal::Declined);
                    return;
                }
                bindShortcuts();
            });
}

void GlobalShortcutsPortal::bindShortcuts()
{
    QList<PortalShortcut> shortcuts;
    for (auto wanted = m_wanted.cbegin(); wanted != m_wanted.cend(); ++wanted) {
        QVariantMap properties{
            {QStringLiteral("description"), m_descriptions.value(wanted.key(), wanted.key())}};
        const QString trigger = ShortcutTrigger::fromKeySequence(wanted.value());
        if (!trigger.isEmpty())
            properties.insert(QStringLiteral("preferred_trigger"), trigger);
        shortcuts.append({wanted.key(), properties});
    }
    const int generation = m_generation;
    request(QStringLiteral("BindShortcuts"),
            {QVariant::fromValue(QDBusObjectPath(m_session)), QVariant::fromValue(shortcuts),
             QString(), QVariantMap()},
            [this, generation](uint response, const QVariantMap& results) {
                if (generation == m_generation)
                    bound(response, results);
            });
}

// What the desktop bound is a subset of what was asked for; the rest it declined.
void GlobalShortcutsPortal::bound(uint response, const QVariantMap& results)
{
    QList<PortalShortcut> shortcuts;
    if (response == responseSuccess)
        results.value(QStringLiteral("shortcuts")).value<QDBusArgument>() >> shortcuts;
    QHash<QString, QString> triggers;
    for (const PortalShortcut& shortcut : std::as_const(shortcuts))
        triggers.insert(
            shortcut.id,
            shortcut.properties.value(QStringLiteral("trigger_description")).toString());
    for (auto wanted = m_wanted.cbegin(); wanted != m_wanted.cend(); ++wanted) {
        const auto trigger = triggers.constFind(wanted.key());
        if (trigger == triggers.cend()) {
            qCInfo(lcPlatform).noquote()
                << "the desktop did not bind the global shortcut" << wanted.key();
            setRefusal(wanted.key(), Refusal::Declined);
        } else {
            qCInfo(lcPlatform).noquote()
                << "global shortcut" << wanted.key() << "bound by the desktop as" << *trigger;
            setRefusal(wanted.key(), Refusal::None);
        }
    }
}

void GlobalShortcutsPortal::closeSession(const QString& session)
{
    if (!session.isEmpty())
        m_bus.asyncCall(QDBusMessage::createMethodCall(portalService, session, sessionInterface,
                                                       QStringLiteral("Close")));
}

// The Response signal is listened for at the path the portal will use before the call goes out,
// so that an answer sent at once is not missed.
void GlobalShortcutsPortal::request(const QString& method, QVariantList arguments,
                                    ResponseHandler handler)
{
    const QString token = nextToken();
    QVariantMap options = arguments.takeLast().toMap();
    options.insert(QStringLiteral("handle_token"), token);
    arguments.append(options);
    const QString path = requestPath(token);
    m_pending.insert(path, std::move(handler));
    m_bus.connect(portalService, path, requestInterface, QStringLiteral("Response"), this,
                  SLOT(onRequestResponse(uint, QVariantMap, QDBusMessage)));
    QDBusMessage call =
        QDBusMessage::createMethodCall(portalService, portalPath, shortcutsInterface, method);
    call.setArguments(arguments);
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, path, method](QDBusPendingCallWatcher* call) {
                call->deleteLater();
                const QDBusPendingReply<QDBusObjectPath> reply = *call;
                if (!reply.isError())
                    return;
                qCWarning(lcPlatform).noquote()
                    << "the desktop portal failed" << method << reply.error().message();
                finishRequest(path, responseFailed, {});
            });
}

QString GlobalShortcutsPortal::requestPath(const QString& token) const
{
    QString sender = m_bus.baseService().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    return portalPath + QStringLiteral("/request/") + sender + QLatin1Char('/') + token;
}

void GlobalShortcutsPortal::onRequestResponse(uint response, const QVariantMap& results,
                                              const QDBusMessage& message)
{
    finishRequest(message.path(), response, results);
}

void GlobalShortcutsPortal::finishRequest(const QString& path, uint response,
                                          const QVariantMap& results)
{
    const ResponseHandler handler = m_pending.take(path);
    if (!handler)
        return;
    m_bus.disconnect(portalService, path, requestInterface, QStringLiteral("Response"), this,
                     SLOT(onRequestResponse(uint, QVariantMap, QDBusMessage)));
    handler(response, results);
}

void GlobalShortcutsPortal::onActivated(const QDBusObjectPath& session, const QString& id,
                                        qulonglong timestamp, const QVariantMap& options)
{
    Q_UNUSED(timestamp);
    Q_UNUSED(options);
    if (!m_session.isEmpty() && session.path() == m_session && m_wanted.contains(id))
        emit activated(id);
}

QString GlobalShortcutsPortal::nextToken()
{
    return QStringLiteral("vantrel%1").arg(++m_tokens);
}
