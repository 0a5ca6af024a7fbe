#pragma once

#include "platform/GlobalShortcuts.h"

#include <QAbstractNativeEventFilter>
#include <QHash>
#include <QList>
#include <cstdint>
#include <optional>

struct xcb_connection_t;

// Global shortcuts on X11: a passive key grab on the root window for every keycode that
// produces the shortcut's keysym, with and without NumLock and CapsLock (the lock modifiers are
// part of a key event's state, so each lock state needs its own grab). Key presses are read
// from the application's X connection through a native event filter.
class GlobalShortcutsX11 : public GlobalShortcuts, public QAbstractNativeEventFilter
{
    Q_OBJECT

public:
    // The connection is not owned; it must outlive this object and be the one the application's
    // event loop reads, since the grabs deliver their key presses to it.
    GlobalShortcutsX11(xcb_connection_t* connection, uint32_t rootWindow,
                       QObject* parent = nullptr);
    ~GlobalShortcutsX11() override;

    bool registerShortcut(const QString& id, const QKeySequence& sequence) override;
    void unregisterShortcut(const QString& id) override;
    Refusal refusal(const QString& id) const override;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    struct Grab
    {
        QList<uint8_t> keycodes;
        uint16_t modifiers = 0;
        // Every combination of these lock modifiers is grabbed too.
        uint16_t locks = 0;
    };

    Refusal grabShortcut(const QString& id, const QKeySequence& sequence);
    std::optional<Grab> grabFor(const QKeySequence& sequence) const;
    QList<uint8_t> keycodesOf(uint32_t keysym) const;
    uint16_t numLockMask() const;
    bool takenByAnotherId(const Grab& grab) const;
    uint8_t grab(const Grab& grab) const;
    void ungrab(const Grab& grab) const;
    static bool matches(const Grab& grab, uint8_t keycode, uint16_t state);

    xcb_connection_t* m_connection;
    uint32_t m_root;
    QHash<QString, Grab> m_grabs;
    QHash<QString, Refusal> m_refusals;
};
