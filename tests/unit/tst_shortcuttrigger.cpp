#include "platform/xdg/ShortcutTrigger.h"

#include <QKeySequence>
#include <QTest>

using namespace Qt::StringLiterals;

// The written form the desktop portal is asked for: modifiers in the portal's words, the key as
// its keysym name.
class TestShortcutTrigger : public QObject
{
    Q_OBJECT

private slots:
    void triggerOfKeySequence_data()
    {
        QTest::addColumn<QKeySequence>("sequence");
        QTest::addColumn<QString>("trigger");

        QTest::newRow("letter, lower case") << QKeySequence(u"Ctrl+Alt+V"_s) << u"CTRL+ALT+v"_s;
        QTest::newRow("every modifier, in order")
            << QKeySequence(Qt::META | Qt::SHIFT | Qt::ALT | Qt::CTRL | Qt::Key_K)
            << u"CTRL+ALT+SHIFT+LOGO+k"_s;
        QTest::newRow("digit") << QKeySequence(u"Meta+1"_s) << u"LOGO+1"_s;
        QTest::newRow("function key") << QKeySequence(u"Shift+F12"_s) << u"SHIFT+F12"_s;
        QTest::newRow("named key") << QKeySequence(u"Ctrl+Space"_s) << u"CTRL+space"_s;
        QTest::newRow("page down is Next") << QKeySequence(u"Alt+PgDown"_s) << u"ALT+Next"_s;
        QTest::newRow("punctuation") << QKeySequence(u"Ctrl+,"_s) << u"CTRL+comma"_s;
        QTest::newRow("only the first combination")
            << QKeySequence(u"Ctrl+A, Ctrl+B"_s) << u"CTRL+a"_s;
        QTest::newRow("no modifier") << QKeySequence(u"F9"_s) << u"F9"_s;
        QTest::newRow("empty") << QKeySequence() << QString();
        QTest::newRow("modifier alone") << QKeySequence(Qt::CTRL | Qt::Key_Control) << QString();
        QTest::newRow("key without a name here")
            << QKeySequence(Qt::CTRL | Qt::Key_LaunchMail) << QString();
    }

    void triggerOfKeySequence()
    {
        QFETCH(QKeySequence, sequence);
        QFETCH(QString, trigger);
        QCOMPARE(ShortcutTrigger::fromKeySequence(sequence), trigger);
    }
};

QTEST_GUILESS_MAIN(TestShortcutTrigger)
#include "tst_shortcuttrigger.moc"
