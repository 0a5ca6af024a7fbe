#pragma once

#include "platform/GlobalShortcuts.h"

#include <QDBusConnection>
#include <QHash>
#include <QKeySequence>
#include <QTimer>
#include <functional>

class QDBusMessage;
class QDBusObjectPath;

// Global shortcuts through the desktop portal (org.freedesktop.portal.GlobalShortcuts), the way a
// Wayland session offers them. The portal takes the wanted combinations as preferences: the
// desktop, often by asking the user, decides what is bound, and reports the presses. A portal
// session can be bound only once, so a changed set of shortcuts is bound in a new session that
// replaces the old one. Everything is asynchronous: isAvailable() is false until the portal has
// answered, and a refusal is known once the desktop has.
class GlobalShortcutsPortal : public GlobalShortcuts
{
    Q_OBJECT

public:
    // Asks the portal on the bus whether it offers global shortcuts.
    explicit GlobalShortcutsPortal(const QDBusConnection& bus, QObject* parent = nullptr);
    ~GlobalShortcutsPortal() override;

    bool registerShortcut(const QString& id, const QKeySequence& sequence) override;
    void unregisterShortcut(const QString& id) override;
    Refusal refusal(const QString& id) const override;
    void setDescription(const QString& id, const QString& description) override;
    bool isAvailable() const override { return m_state == State::Ready; }

private slots:
    void onRequestResponse(uint response, const QVariantMap& results, const QDBusMessage& message);
    void onActivated(const QDBusObjectPath& session, const QString& id, qulonglong timestamp,
                     const QVariantMap& options);

private:
    enum class State { Asking, Unavailable, Ready };
    using ResponseHandler = std::function<void(uint response, const QVariantMap& results)>;

    void askVersion();
    void setState(State state);
    // Calls a portal method whose result comes as the Response of a request object. The last
    // argument is the options map, which gains the request's handle token.
    void request(const QString& method, QVariantList arguments, ResponseHandler handler);
    QString requestPath(const QString& token) const;
    void finishRequest(const QString& path, uint response, const QVariantMap& results);
    void bindAnew();
    void createSession();
    void bindShortcuts();
    void bound(uint response, const QVariantMap& results);
    void closeSession(const QString& session);
    void setRefusal(const QString& id, Refusal refusal);
    QString nextToken();

    QDBusConnection m_bus;
    QHash<QString, QString> m_descriptions;
    State m_state = State::Asking;
    QHash<QString, QKeySequence> m_wanted;
    QHash<QString, Refusal> m_refusals;
    QHash<QString, ResponseHandler> m_pending;
    QString m_session;
    // Gathers the registrations of one turn of the event loop into one binding.
    QTimer m_bindTimer;
    int m_tokens = 0;
    // Counts the bindings begun; an answer for an older one is dropped.
    int m_generation = 0;
};
