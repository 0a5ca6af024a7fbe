#include "platform/x11/KeyMappingX11.h"

#include <QKeySequence>
#include <QTest>
#include <X11/XF86keysym.h>
#include <X11/keysym.h>
#include <xcb/xproto.h>

using namespace Qt::StringLiterals;

namespace {
constexpr uint16_t shift = XCB_MOD_MASK_SHIFT;
constexpr uint16_t control = XCB_MOD_MASK_CONTROL;
constexpr uint16_t alt = XCB_MOD_MASK_1;
constexpr uint16_t meta = XCB_MOD_MASK_4;

QKeySequence portable(const QString& text)
{
    return QKeySequence::fromString(text, QKeySequence::PortableText);
}
} // namespace

class TestKeyMappingX11 : public QObject
{
    Q_OBJECT

private slots:
    void storedShortcutMapsToKeysymAndModifiers_data();
    void storedShortcutMapsToKeysymAndModifiers();
    void sequenceWithoutAnX11KeyIsRefused_data();
    void sequenceWithoutAnX11KeyIsRefused();
};

void TestKeyMappingX11::storedShortcutMapsToKeysymAndModifiers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<uint>("keysym");
    QTest::addColumn<uint>("modifiers");

    QTest::newRow("letter, lower-case keysym")
        << u"Ctrl+Alt+V"_s << uint(XK_v) << uint(control | alt);
    QTest::newRow("shift is a modifier, not a case")
        << u"Ctrl+Shift+V"_s << uint(XK_v) << uint(control | shift);
    QTest::newRow("all four modifiers")
        << u"Ctrl+Alt+Shift+Meta+X"_s << uint(XK_x) << uint(control | alt | shift | meta);
    QTest::newRow("grave accent") << u"Ctrl+Alt+`"_s << uint(XK_grave) << uint(control | alt);
    QTest::newRow("comma") << u"Ctrl+,"_s << uint(XK_comma) << uint(control);
    QTest::newRow("shifted punctuation")
        << u"Ctrl+Shift+!"_s << uint(XK_exclam) << uint(control | shift);
    QTest::newRow("meta and space") << u"Meta+Space"_s << uint(XK_space) << uint(meta);
    QTest::newRow("digit") << u"Alt+1"_s << uint(XK_1) << uint(alt);
    QTest::newRow("function key alone") << u"F12"_s << uint(XK_F12) << 0u;
    QTest::newRow("last function key") << u"Ctrl+F35"_s << uint(XK_F35) << uint(control);
    QTest::newRow("escape") << u"Ctrl+Shift+Esc"_s << uint(XK_Escape) << uint(control | shift);
    QTest::newRow("return") << u"Ctrl+Return"_s << uint(XK_Return) << uint(control);
    QTest::newRow("delete") << u"Ctrl+Alt+Del"_s << uint(XK_Delete) << uint(control | alt);
    QTest::newRow("page up") << u"Meta+PgUp"_s << uint(XK_Prior) << uint(meta);
    QTest::newRow("arrow") << u"Meta+Left"_s << uint(XK_Left) << uint(meta);
    QTest::newRow("print") << u"Print"_s << uint(XK_Print) << 0u;
    QTest::newRow("media key") << u"Volume Up"_s << uint(XF86XK_AudioRaiseVolume) << 0u;
    QTest::newRow("keypad digit") << u"Ctrl+Num+5"_s << uint(XK_KP_5) << uint(control);
    QTest::newRow("keypad operator") << u"Ctrl+Num+*"_s << uint(XK_KP_Multiply) << uint(control);
    QTest::newRow("keypad enter") << u"Ctrl+Num+Enter"_s << uint(XK_KP_Enter) << uint(control);
    QTest::newRow("keypad without NumLock") << u"Alt+Num+Home"_s << uint(XK_KP_Home) << uint(alt);
    QTest::newRow("latin-1 letter") << u"Ctrl+Alt+É"_s << uint(XK_eacute) << uint(control | alt);
    QTest::newRow("other letter") << u"Ctrl+Ж"_s << uint(0x01000000 | 0x0436) << uint(control);
    QTest::newRow("first combination only") << u"Ctrl+K, Ctrl+C"_s << uint(XK_k) << uint(control);
}

void TestKeyMappingX11::storedShortcutMapsToKeysymAndModifiers()
{
    QFETCH(QString, text);
    QFETCH(uint, keysym);
    QFETCH(uint, modifiers);

    const QKeySequence sequence = portable(text);
    QVERIFY2(!sequence.isEmpty(), qPrintable(text));
    const std::optional<X11KeyCombination> mapped = KeyMappingX11::fromKeySequence(sequence);
    QVERIFY(mapped);
    QCOMPARE(mapped->keysym, keysym);
    QCOMPARE(mapped->modifiers, modifiers);
}

void TestKeyMappingX11::sequenceWithoutAnX11KeyIsRefused_data()
{
    QTest::addColumn<QKeySequence>("sequence");

    QTest::newRow("empty") << QKeySequence();
    QTest::newRow("control alone") << QKeySequence(Qt::ControlModifier | Qt::Key_Control);
    QTest::newRow("shift with control") << QKeySequence(Qt::ControlModifier | Qt::Key_Shift);
    QTest::newRow("alt alone") << QKeySequence(Qt::Key_Alt);
    QTest::newRow("meta alone") << QKeySequence(Qt::AltModifier | Qt::Key_Meta);
    QTest::newRow("AltGr") << QKeySequence(Qt::Key_AltGr);
    QTest::newRow("super key") << QKeySequence(Qt::Key_Super_L);
    QTest::newRow("caps lock") << QKeySequence(Qt::ControlModifier | Qt::Key_CapsLock);
    QTest::newRow("num lock") << QKeySequence(Qt::Key_NumLock);
    QTest::newRow("unknown key") << QKeySequence(Qt::ControlModifier | Qt::Key_unknown);
    QTest::newRow("letter on the keypad") << QKeySequence(Qt::KeypadModifier | Qt::Key_A);
    QTest::newRow("unparsable text") << portable(u"Ctrl+Nonsense"_s);
}

void TestKeyMappingX11::sequenceWithoutAnX11KeyIsRefused()
{
    QFETCH(QKeySequence, sequence);

    QVERIFY(!KeyMappingX11::fromKeySequence(sequence));
}

QTEST_APPLESS_MAIN(TestKeyMappingX11)
#include "tst_keymappingx11.moc"
