#include "e2e/KeyPresses.h"
#include "e2e/LogRecorder.h"
#include "platform/x11/GlobalShortcutsX11.h"
#include "platform/x11/XcbReply.h"

#include <QGuiApplication>
#include <QKeySequence>
#include <QLoggingCategory>
#include <QSignalSpy>
#include <QTest>
#include <X11/keysym.h>
#include <memory>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

using namespace Qt::StringLiterals;

namespace {
// Toggles a lock key for the length of a scope.
class LockOn
{
public:
    explicit LockOn(const QString& key) : m_key(key) { m_pressed = pressKeys(m_key); }
    ~LockOn()
    {
        if (m_pressed)
            pressKeys(m_key);
    }
    bool pressed() const { return m_pressed; }

private:
    QString m_key;
    bool m_pressed;
};

// Another X client on its own connection: another application holding keys, or changing the
// keyboard's modifier mapping.
class OtherClient
{
public:
    OtherClient() : m_connection(xcb_connect(nullptr, nullptr))
    {
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
    }
    ~OtherClient() { xcb_disconnect(m_connection); }

    xcb_keycode_t keycode(xcb_keysym_t keysym) const
    {
        xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(m_connection);
        const std::unique_ptr<xcb_keycode_t[], XcbFree> codes(
            xcb_key_symbols_get_keycode(symbols, keysym));
        xcb_key_symbols_free(symbols);
        return codes ? codes[0] : XCB_NO_SYMBOL;
    }

    // 0 when granted, else the X error code.
    uint8_t grab(xcb_keysym_t keysym, uint16_t modifiers) const
    {
        const XcbReply<xcb_generic_error_t> error(xcb_request_check(
            m_connection, xcb_grab_key_checked(m_connection, 1, m_root, modifiers, keycode(keysym),
                                               XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC)));
        return error ? error->error_code : 0;
    }

    // Whether a key press has come so far.
    bool receivedKeyPress()
    {
        while (const XcbReply<xcb_generic_event_t> event{xcb_poll_for_event(m_connection)}) {
            if ((event->response_type & ~0x80) == XCB_KEY_PRESS)
                m_keyPressed = true;
        }
        return m_keyPressed;
    }

    // The modifiers in effect (locks included), as the pointer's state reports them.
    uint16_t modifierState() const
    {
        const XcbReply<xcb_query_pointer_reply_t> pointer(xcb_query_pointer_reply(
            m_connection, xcb_query_pointer(m_connection, m_root), nullptr));
        return pointer ? pointer->mask & 0xff : 0;
    }

    QByteArray modifierMapping(uint8_t* perModifier) const
    {
        const XcbReply<xcb_get_modifier_mapping_reply_t> mapping(xcb_get_modifier_mapping_reply(
            m_connection, xcb_get_modifier_mapping(m_connection), nullptr));
        *perModifier = mapping->keycodes_per_modifier;
        return QByteArray(
            reinterpret_cast<const char*>(xcb_get_modifier_mapping_keycodes(mapping.get())),
            8 * mapping->keycodes_per_modifier);
    }

    bool setModifierMapping(uint8_t perModifier, const QByteArray& keycodes) const
    {
        const XcbReply<xcb_set_modifier_mapping_reply_t> reply(xcb_set_modifier_mapping_reply(
            m_connection,
            xcb_set_modifier_mapping(m_connection, perModifier,
                                     reinterpret_cast<const xcb_keycode_t*>(keycodes.constData())),
            nullptr));
        return reply && reply->status == XCB_MAPPING_STATUS_SUCCESS;
    }

private:
    xcb_connection_t* m_connection;
    xcb_window_t m_root;
    bool m_keyPressed = false;
};

constexpr uint16_t controlAlt = XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1;
} // namespace

class TestGlobalShortcutsX11 : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void pressedShortcutIsReported_data();
    void pressedShortcutIsReported();
    void shortcutWorksWhateverTheLockKeys_data();
    void shortcutWorksWhateverTheLockKeys();
    void numLockIsTheModifierItIsMappedTo();
    void unregisteredShortcutNoLongerFires();
    void destroyedShortcutsReleaseTheirKeys();
    void combinationHeldByAnotherClientIsLoggedAndLeftToIt();
    void sameCombinationForTwoIdsIsRefused();

private:
    std::unique_ptr<GlobalShortcutsX11> makeShortcuts() const;
    // Presses a marker shortcut and waits for it, so that every key pressed before has been
    // seen too.
    bool pressMarker(QSignalSpy& spy);

    xcb_connection_t* m_connection = nullptr;
    std::unique_ptr<GlobalShortcutsX11> m_shortcuts;
};

void TestGlobalShortcutsX11::initTestCase()
{
    QCOMPARE(QGuiApplication::platformName(), u"xcb"_s);
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    QVERIFY(x11);
    m_connection = x11->connection();
    QLoggingCategory::setFilterRules(u"vantrel.platform.info=true"_s);
    LogRecorder::install();
}

void TestGlobalShortcutsX11::init()
{
    LogRecorder::messages().clear();
    m_shortcuts = makeShortcuts();
}

void TestGlobalShortcutsX11::cleanup()
{
    m_shortcuts.reset();
}

std::unique_ptr<GlobalShortcutsX11> TestGlobalShortcutsX11::makeShortcuts() const
{
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
    return std::make_unique<GlobalShortcutsX11>(m_connection, root);
}

bool TestGlobalShortcutsX11::pressMarker(QSignalSpy& spy)
{
    if (!m_shortcuts->registerShortcut(u"marker"_s, QKeySequence(u"Ctrl+Alt+M"_s)))
        return false;
    const qsizetype before = spy.count();
    if (!pressKeys(u"ctrl+alt+m"_s))
        return false;
    return QTest::qWaitFor([&] { return spy.count() > before; }) &&
           spy.last().at(0).toString() == u"marker"_s;
}

void TestGlobalShortcutsX11::pressedShortcutIsReported_data()
{
    QTest::addColumn<QString>("shortcut");
    QTest::addColumn<QString>("keys");

    QTest::newRow("control, alt and a letter") << u"Ctrl+Alt+V"_s << u"ctrl+alt+v"_s;
    QTest::newRow("shift") << u"Ctrl+Shift+V"_s << u"ctrl+shift+v"_s;
    QTest::newRow("punctuation") << u"Ctrl+Alt+`"_s << u"ctrl+alt+grave"_s;
    QTest::newRow("super") << u"Meta+Space"_s << u"super+space"_s;
    QTest::newRow("function key alone") << u"F12"_s << u"F12"_s;
    QTest::newRow("keypad") << u"Ctrl+Num+Enter"_s << u"ctrl+KP_Enter"_s;
}

void TestGlobalShortcutsX11::pressedShortcutIsReported()
{
    QFETCH(QString, shortcut);
    QFETCH(QString, keys);
    QSignalSpy activated(m_shortcuts.get(), &GlobalShortcuts::activated);

    QVERIFY(m_shortcuts->registerShortcut(
        u"main"_s, QKeySequence::fromString(shortcut, QKeySequence::PortableText)));
    QVERIFY(pressKeys(keys));

    QTRY_COMPARE(activated.count(), 1);
    QCOMPARE(activated.first().at(0).toString(), u"main"_s);
}

void TestGlobalShortcutsX11::shortcutWorksWhateverTheLockKeys_data()
{
    QTest::addColumn<QStringList>("locks");
    QTest::addColumn<uint>("lockMask");

    // Mod2 is NumLock in the X server's default keyboard.
    QTest::newRow("NumLock") << QStringList{u"Num_Lock"_s} << uint(XCB_MOD_MASK_2);
    QTest::newRow("CapsLock") << QStringList{u"Caps_Lock"_s} << uint(XCB_MOD_MASK_LOCK);
    QTest::newRow("both") << QStringList{u"Num_Lock"_s, u"Caps_Lock"_s}
                          << uint(XCB_MOD_MASK_2 | XCB_MOD_MASK_LOCK);
}

void TestGlobalShortcutsX11::shortcutWorksWhateverTheLockKeys()
{
    QFETCH(QStringList, locks);
    QFETCH(uint, lockMask);
    QSignalSpy activated(m_shortcuts.get(), &GlobalShortcuts::activated);
    QVERIFY(m_shortcuts->registerShortcut(u"main"_s, QKeySequence(u"Ctrl+Alt+V"_s)));

    std::vector<std::unique_ptr<LockOn>> on;
    for (const QString& lock : locks) {
        on.push_back(std::make_unique<LockOn>(lock));
        QVERIFY(on.back()->pressed());
    }
    OtherClient observer;
    QTRY_COMPARE(observer.modifierState() & lockMask, lockMask);
    QVERIFY(pressKeys(u"ctrl+alt+v"_s));

    QTRY_COMPARE(activated.count(), 1);
    QCOMPARE(activated.first().at(0).toString(), u"main"_s);
}

// The keyboard is changed so that the Num_Lock key sets Mod3 instead of Mod2.
void TestGlobalShortcutsX11::numLockIsTheModifierItIsMappedTo()
{
    OtherClient other;
    uint8_t perModifier = 0;
    const QByteArray original = other.modifierMapping(&perModifier);
    QByteArray changed = original;
    const char numLock = char(other.keycode(XK_Num_Lock));
    const qsizetype mod2 = 4 * perModifier;
    const qsizetype mod3 = 5 * perModifier;
    const qsizetype from = changed.indexOf(numLock, mod2);
    QVERIFY(from >= mod2 && from < mod2 + perModifier);
    const qsizetype to = changed.indexOf('\0', mod3);
    QVERIFY(to >= mod3 && to < mod3 + perModifier);
    changed[from] = '\0';
    changed[to] = numLock;
    QVERIFY(other.setModifierMapping(perModifier, changed));
    const auto restore = qScopeGuard([&] { other.setModifierMapping(perModifier, original); });

    QSignalSpy activated(m_shortcuts.get(), &GlobalShortcuts::activated);
    QVERIFY(m_shortcuts->registerShortcut(u"main"_s, QKeySequence(u"Ctrl+Alt+V"_s)));
    LockOn on(u"Num_Lock"_s);
    QVERIFY(on.pressed());
    QTRY_COMPARE(other.modifierState() & XCB_MOD_MASK_3, uint(XCB_MOD_MASK_3));
    QVERIFY(pressKeys(u"ctrl+alt+v"_s));

    QTRY_COMPARE(activated.count(), 1);
}

void TestGlobalShortcutsX11::unregisteredShortcutNoLongerFires()
{
    QSignalSpy activated(m_shortcuts.get(), &GlobalShortcuts::activated);
    QVERIFY(m_shortcuts->registerShortcut(u"main"_s, QKeySequence(u"Ctrl+Alt+V"_s)));
    m_shortcuts->unregisterShortcut(u"main"_s);

    QVERIFY(pressKeys(u"ctrl+alt+v"_s));
    QVERIFY(pressMarker(activated));
    QCOMPARE(activated.count(), 1);
}

void TestGlobalShortcutsX11::destroyedShortcutsReleaseTheirKeys()
{
    QVERIFY(m_shortcuts->registerShortcut(u"main"_s, QKeySequence(u"Ctrl+Alt+V"_s)));
    OtherClient other;
    QCOMPARE(other.grab(XK_v, controlAlt), uint8_t(XCB_ACCESS));

    m_shortcuts.reset();

    QCOMPARE(other.grab(XK_v, controlAlt), uint8_t(0));
    QCOMPARE(other.grab(XK_v, controlAlt | XCB_MOD_MASK_2 | XCB_MOD_MASK_LOCK), uint8_t(0));
}

void TestGlobalShortcutsX11::combinationHeldByAnotherClientIsLoggedAndLeftToIt()
{
    OtherClient other;
    QCOMPARE(other.grab(XK_h, controlAlt), uint8_t(0));
    QSignalSpy activated(m_shortcuts.get(), &GlobalShortcuts::activated);

    QVERIFY(!m_shortcuts->registerShortcut(u"main"_s, QKeySequence(u"Ctrl+Alt+H"_s)));
    QVERIFY(LogRecorder::messages().contains(
        u"global shortcut Ctrl+Alt+H is already held by another client"_s));
    QCOMPARE(m_shortcuts->refusal(u"main"_s), GlobalShortcuts::Refusal::HeldByAnotherClient);

    QVERIFY(pressKeys(u"ctrl+alt+h"_s));
    QTRY_VERIFY(other.receivedKeyPress());
    // The lock variants that were granted before the refusal are released again.
    QCOMPARE(other.grab(XK_h, controlAlt | XCB_MOD_MASK_2), uint8_t(0));
    QVERIFY(pressMarker(activated));
    QCOMPARE(activated.count(), 1);
}

void TestGlobalShortcutsX11::sameCombinationForTwoIdsIsRefused()
{
    QSignalSpy activated(m_shortcuts.get(), &GlobalShortcuts::activated);
    QVERIFY(m_shortcuts->registerShortcut(u"main"_s, QKeySequence(u"Ctrl+Alt+V"_s)));
    QVERIFY(!m_shortcuts->registerShortcut(u"mini"_s, QKeySequence(u"Ctrl+Alt+V"_s)));
    QCOMPARE(m_shortcuts->refusal(u"mini"_s), GlobalShortcuts::Refusal::UsedByAnotherId);
    QCOMPARE(m_shortcuts->refusal(u"main"_s), GlobalShortcuts::Refusal::None);

    QVERIFY(pressKeys(u"ctrl+alt+v"_s));
    QTRY_COMPARE(activated.count(), 1);
    QCOMPARE(activated.first().at(0).toString(), u"main"_s);
}

QTEST_MAIN(TestGlobalShortcutsX11)
#include "tst_globalshortcutsx11.moc"
