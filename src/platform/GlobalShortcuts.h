#pragma once

#include <QObject>
#include <QString>

class QKeySequence;

// System-wide keyboard shortcuts: a key combination pressed in any application is reported
// here. Each shortcut is registered under an id of the caller's choosing.
class GlobalShortcuts : public QObject
{
    Q_OBJECT

public:
    // Why a combination was not registered.
    enum class Refusal {
        None,                // registered, or nothing asked for (an empty sequence)
        Unusable,            // modifiers only, a key the keyboard lacks, or refused otherwise
        UsedByAnotherId,     // registered here for another id already
        HeldByAnotherClient, // another application holds it
        Unavailable,         // no global shortcuts in this session
        Declined,            // the desktop (or the user, asked by it) did not take it
    };
    Q_ENUM(Refusal)

    using QObject::QObject;

    // Registers the first key combination of the sequence under the id, replacing what the id
    // had. False (and nothing registered under the id) when the combination cannot be a global
    // shortcut: empty, modifiers only, a key the keyboard does not have, held by another id or
    // another application, or no global shortcuts in this session. The reason is logged, and
    // refusal() tells it.
    virtual bool registerShortcut(const QString& id, const QKeySequence& sequence) = 0;

    // Releases the id's combination; nothing when the id has none.
    virtual void unregisterShortcut(const QString& id) = 0;

    // Why the latest registration under the id failed; None once it succeeded or was released,
    // so that the user can be told what became of a shortcut they chose.
    virtual Refusal refusal(const QString& id) const
    {
        Q_UNUSED(id);
        return Refusal::None;
    }

    // What the id's shortcut does, in the user's words, for a desktop that lists the shortcuts of
    // its applications. Given before the id is registered.
    virtual void setDescription(const QString& id, const QString& description)
    {
        Q_UNUSED(id);
        Q_UNUSED(description);
    }

    // Whether this session offers global shortcuts at all. Where it does not, the desktop's own
    // keyboard settings can run `vantrel --show-main` / `--show-mini` instead. A backend that has
    // to ask the desktop first answers false until it knows.
    virtual bool isAvailable() const { return true; }

signals:
    // The combination registered under the id was pressed.
    void activated(const QString& id);
    // A backend that registers asynchronously learnt the outcome for the id: refusal() changed.
    void refusalChanged(const QString& id);
    void availabilityChanged(bool available);
};
