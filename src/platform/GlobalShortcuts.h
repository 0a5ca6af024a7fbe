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
    using QObject::QObject;

    // Registers the first key combination of the sequence under the id, replacing what the id
    // had. False (and nothing registered under the id) when the combination cannot be a global
    // shortcut: empty, modifiers only, a key the keyboard does not have, held by another id or
    // another application, or no global shortcuts in this session. The reason is logged.
    virtual bool registerShortcut(const QString& id, const QKeySequence& sequence) = 0;

    // Releases the id's combination; nothing when the id has none.
    virtual void unregisterShortcut(const QString& id) = 0;

signals:
    // The combination registered under the id was pressed.
    void activated(const QString& id);
};
