#include "platform/x11/GlobalShortcutsX11.h"

#include "platform/x11/KeyMappingX11.h"
#include "platform/x11/XcbReply.h"
#include "support/Logging.h"

#include <QCoreApplication>
#include <QKeySequence>
#include <X11/keysym.h>
#include <memory>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

namespace {
struct KeySymbolsDeleter
{
    void operator()(xcb_key_symbols_t* symbols) const { xcb_key_symbols_free(symbols); }
};

// Calls f with every subset of the mask, the empty one included.
template <class F> void forEachSubset(uint16_t mask, F f)
{
    for (uint16_t subset = mask;; subset = (subset - 1) & mask) {
        f(subset);
        if (subset == 0)
            return;
    }
}

QString portableText(const QKeySequence& sequence)
{
    return sequence.toString(QKeySequence::PortableText);
}
} // namespace

GlobalShortcutsX11::GlobalShortcutsX11(xcb_connection_t* connection, uint32_t rootWindow,
                                       QObject* parent)
    : GlobalShortcuts(parent), m_connection(connection), m_root(rootWindow)
{
    QCoreApplication::instance()->installNativeEventFilter(this);
}

GlobalShortcutsX11::~GlobalShortcutsX11()
{
    for (const Grab& grab : std::as_const(m_grabs))
        ungrab(grab);
    xcb_flush(m_connection);
}

bool GlobalShortcutsX11::registerShortcut(const QString& id, const QKeySequence& sequence)
{
    unregisterShortcut(id);
    if (sequence.isEmpty())
        return false;
    const Refusal refused = grabShortcut(id, sequence);
    if (refused != Refusal::None)
        m_refusals.insert(id, refused);
    return refused == Refusal::None;
}

GlobalShortcuts::Refusal GlobalShortcutsX11::refusal(const QString& id) const
{
    return m_refusals.value(id, Refusal::None);
}

GlobalShortcuts::Refusal GlobalShortcutsX11::grabShortcut(const QString& id,
                                                          const QKeySequence& sequence)
{
    const std::optional<Grab> wanted = grabFor(sequence);
    if (!wanted)
        return Refusal::Unusable;
    if (takenByAnotherId(*wanted)) {
        qCInfo(lcPlatform).noquote()
            << QStringLiteral("global shortcut %1 is already registered for another action")
                   .arg(portableText(sequence));
        return Refusal::UsedByAnotherId;
    }
    const uint8_t error = grab(*wanted);
    if (error == XCB_ACCESS) {
        qCInfo(lcPlatform).noquote()
            << QStringLiteral("global shortcut %1 is already held by another client")
                   .arg(portableText(sequence));
        return Refusal::HeldByAnotherClient;
    }
    if (error != 0) {
        qCWarning(lcPlatform).noquote() << QStringLiteral("global shortcut %1: X error %2")
                                               .arg(portableText(sequence))
                                               .arg(error);
        return Refusal::Unusable;
    }
    m_grabs.insert(id, *wanted);
    return Refusal::None;
}

void GlobalShortcutsX11::unregisterShortcut(const QString& id)
{
    m_refusals.remove(id);
    const auto found = m_grabs.constFind(id);
    if (found == m_grabs.cend())
        return;
    ungrab(*found);
    xcb_flush(m_connection);
    m_grabs.erase(found);
}

// The press is left to Qt as well, and reported once Qt has handled it: Qt takes the event's
// time as the user's latest action, and a window that an action activates needs that time, or
// the window manager may refuse it the focus. The root window is none of Qt's, so Qt delivers
// nothing else.
bool GlobalShortcutsX11::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & ~0x80) != XCB_KEY_PRESS)
        return false;
    const auto* press = static_cast<const xcb_key_press_event_t*>(message);
    if (press->event != m_root)
        return false;
    for (auto it = m_grabs.cbegin(); it != m_grabs.cend(); ++it) {
        if (matches(it.value(), press->detail, press->state)) {
            QMetaObject::invokeMethod(
                this, [this, id = it.key()] { emit activated(id); }, Qt::QueuedConnection);
            return false;
        }
    }
    return false;
}

std::optional<GlobalShortcutsX11::Grab>
GlobalShortcutsX11::grabFor(const QKeySequence& sequence) const
{
    const std::optional<X11KeyCombination> combination = KeyMappingX11::fromKeySequence(sequence);
    if (!combination) {
        qCInfo(lcPlatform).noquote()
            << QStringLiteral("global shortcut %1 has no X11 key").arg(portableText(sequence));
        return std::nullopt;
    }
    Grab wanted{keycodesOf(combination->keysym), combination->modifiers,
                uint16_t(XCB_MOD_MASK_LOCK | numLockMask())};
    if (wanted.keycodes.isEmpty()) {
        qCInfo(lcPlatform).noquote()
            << QStringLiteral("global shortcut %1: no key of the keyboard produces it")
                   .arg(portableText(sequence));
        return std::nullopt;
    }
    return wanted;
}

// The keyboard mapping is read afresh each time, so that a layout changed since the last
// registration is followed.
QList<uint8_t> GlobalShortcutsX11::keycodesOf(uint32_t keysym) const
{
    std::unique_ptr<xcb_key_symbols_t, KeySymbolsDeleter> symbols(
        xcb_key_symbols_alloc(m_connection));
    QList<uint8_t> keycodes;
    if (!symbols)
        return keycodes;
    const std::unique_ptr<xcb_keycode_t[], XcbFree> found(
        xcb_key_symbols_get_keycode(symbols.get(), keysym));
    for (const xcb_keycode_t* code = found.get(); code && *code != XCB_NO_SYMBOL; ++code) {
        if (!keycodes.contains(*code))
            keycodes.append(*code);
    }
    return keycodes;
}

// NumLock is whichever modifier the Num_Lock key is mapped to; Mod2 on most set-ups, but not
// on all.
uint16_t GlobalShortcutsX11::numLockMask() const
{
    const QList<uint8_t> numLockKeys = keycodesOf(XK_Num_Lock);
    XcbReply<xcb_get_modifier_mapping_reply_t> mapping(xcb_get_modifier_mapping_reply(
        m_connection, xcb_get_modifier_mapping(m_connection), nullptr));
    if (!mapping || numLockKeys.isEmpty())
        return 0;
    const xcb_keycode_t* keys = xcb_get_modifier_mapping_keycodes(mapping.get());
    const int perModifier = mapping->keycodes_per_modifier;
    for (int modifier = 0; modifier < 8; ++modifier) {
        for (int i = 0; i < perModifier; ++i) {
            if (numLockKeys.contains(keys[modifier * perModifier + i]))
                return uint16_t(1u << modifier);
        }
    }
    return 0;
}

bool GlobalShortcutsX11::takenByAnotherId(const Grab& wanted) const
{
    for (const Grab& held : m_grabs) {
        if (held.modifiers != wanted.modifiers)
            continue;
        for (uint8_t keycode : wanted.keycodes) {
            if (held.keycodes.contains(keycode))
                return true;
        }
    }
    return false;
}

// Grabs every keycode with every lock variant and checks each request; X refuses a grab that
// another client holds with BadAccess. Returns 0, or the first error code, in which case
// nothing of the combination stays grabbed.
uint8_t GlobalShortcutsX11::grab(const Grab& wanted) const
{
    QList<xcb_void_cookie_t> cookies;
    for (uint8_t keycode : wanted.keycodes) {
        forEachSubset(wanted.locks, [&](uint16_t locks) {
            cookies.append(xcb_grab_key_checked(m_connection, 1, m_root, wanted.modifiers | locks,
                                                keycode, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
        });
    }
    uint8_t firstError = 0;
    for (const xcb_void_cookie_t& cookie : cookies) {
        const XcbReply<xcb_generic_error_t> error(xcb_request_check(m_connection, cookie));
        if (error && firstError == 0)
            firstError = error->error_code;
    }
    if (firstError != 0) {
        ungrab(wanted);
        xcb_flush(m_connection);
    }
    return firstError;
}

// Ungrabbing what another client holds leaves its grab alone, so every variant is released.
void GlobalShortcutsX11::ungrab(const Grab& held) const
{
    for (uint8_t keycode : held.keycodes) {
        forEachSubset(held.locks, [&](uint16_t locks) {
            xcb_ungrab_key(m_connection, keycode, m_root, held.modifiers | locks);
        });
    }
}

bool GlobalShortcutsX11::matches(const Grab& held, uint8_t keycode, uint16_t state)
{
    const uint16_t withoutLocks = state & 0xff & ~held.locks;
    return withoutLocks == held.modifiers && held.keycodes.contains(keycode);
}
