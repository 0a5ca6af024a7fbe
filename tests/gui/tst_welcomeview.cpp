#include "browser/WelcomeView.h"
#include "platform/GlobalShortcuts.h"
#include "platform/LoginItems.h"
#include "shell/ShortcutBindings.h"
#include "shell/ShortcutCommands.h"
#include "storage/UserDefaults.h"

#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {
const QString mainKey = UserDefaults::mainWindowShortcutKey;
const QString miniKey = UserDefaults::miniWindowShortcutKey;

// Global shortcuts that hold any combination but Ctrl+Alt+H (another application has it), in a
// session that may have none.
class SessionShortcuts : public GlobalShortcuts
{
public:
    bool registerShortcut(const QString& id, const QKeySequence& sequence) override
    {
        refused.remove(id);
        if (!available || sequence == QKeySequence(u"Ctrl+Alt+H"_s))
            refused.insert(id);
        return !refused.contains(id);
    }
    void unregisterShortcut(const QString& id) override { refused.remove(id); }
    Refusal refusal(const QString& id) const override
    {
        if (!refused.contains(id))
            return Refusal::None;
        return available ? Refusal::HeldByAnotherClient : Refusal::Unavailable;
    }
    bool isAvailable() const override { return available; }

    bool available = true;
    QSet<QString> refused;
};

// Start at log-in where the autostart entry belongs to another program: it cannot be set.
class RefusingLoginItems : public LoginItems
{
public:
    bool isEnabled() const override { return false; }
    bool setEnabled(bool) override { return false; }
    Refusal lastRefusal() const override { return Refusal::CannotWrite; }
    QString entryLocation() const override { return {}; }
};

class EnablingLoginItems : public LoginItems
{
public:
    bool isEnabled() const override { return enabled; }
    bool setEnabled(bool value) override
    {
        enabled = value;
        return true;
    }
    Refusal lastRefusal() const override { return Refusal::None; }
    QString entryLocation() const override { return {}; }
    bool enabled = false;
};

QString textOf(const WelcomeView& view)
{
    return view.findChild<QLabel*>(u"noticeText"_s)->text();
}
} // namespace

// The first run's welcome tells how to call Vantrel up in this session and offers to start it at
// log-in.
class TestWelcomeView : public QObject
{
    Q_OBJECT

private slots:
    void toldHowToCallVantrel_data()
    {
        QTest::addColumn<bool>("available");
        QTest::addColumn<QString>("mainShortcut");
        QTest::addColumn<QString>("miniShortcut");
        QTest::addColumn<QString>("told");

        QTest::newRow("the mini window's shortcut first")
            << true << u"Ctrl+Alt+V"_s << u"Ctrl+Alt+N"_s
            << u"Press Ctrl+Alt+N in any application to bring up its mini window."_s;
        QTest::newRow("the main window's when the mini window has none")
            << true << u"Ctrl+Alt+V"_s << QString()
            << u"Press Ctrl+Alt+V in any application to bring up this window."_s;
        QTest::newRow("a refused shortcut is not offered")
            << true << u"Ctrl+Alt+V"_s << u"Ctrl+Alt+H"_s
            << u"Press Ctrl+Alt+V in any application to bring up this window."_s;
        QTest::newRow("none stored: the preferences")
            << true << QString() << QString()
            << u"Choose a shortcut in the Preferences to bring it up from any application."_s;
        QTest::newRow("no global shortcuts: the command to bind")
            << false << u"Ctrl+Alt+V"_s << QString()
            << u"bind the command “"_s + ShortcutCommands::showMiniCommand() + u"”"_s;
    }

    void toldHowToCallVantrel()
    {
        QFETCH(bool, available);
        QFETCH(QString, mainShortcut);
        QFETCH(QString, miniShortcut);
        QFETCH(QString, told);

        QTemporaryDir folder;
        SessionShortcuts shortcuts;
        shortcuts.available = available;
        UserDefaults defaults(folder.filePath(u"vantrel.conf"_s));
        ShortcutBindings bindings(shortcuts, defaults);
        bindings.setShortcut(mainKey, QKeySequence(mainShortcut));
        bindings.setShortcut(miniKey, QKeySequence(miniShortcut));
        bindings.bind(mainKey, QString(), [] {});
        bindings.bind(miniKey, QString(), [] {});
        EnablingLoginItems loginItems;
        WelcomeView view(bindings, loginItems);
        QVERIFY2(textOf(view).startsWith(u"Welcome to Vantrel."_s), qPrintable(textOf(view)));
        QVERIFY2(textOf(view).contains(told), qPrintable(textOf(view)));
    }

    // The portal tells after the start whether the desktop has global shortcuts; a shortcut may
    // change meanwhile. The welcome follows both.
    void followsTheShortcutsAsTheyChange()
    {
        QTemporaryDir folder;
        SessionShortcuts shortcuts;
        shortcuts.available = false;
        UserDefaults defaults(folder.filePath(u"vantrel.conf"_s));
        ShortcutBindings bindings(shortcuts, defaults);
        bindings.bind(mainKey, QString(), [] {});
        bindings.bind(miniKey, QString(), [] {});
        EnablingLoginItems loginItems;
        WelcomeView view(bindings, loginItems);
        QVERIFY(textOf(view).contains(ShortcutCommands::showMiniCommand()));

        shortcuts.available = true;
        emit shortcuts.availabilityChanged(true);
        QVERIFY(textOf(view).contains(u"Choose a shortcut in the Preferences"_s));
        bindings.setShortcut(miniKey, QKeySequence(u"Meta+V"_s));
        QVERIFY2(
            textOf(view).contains(QKeySequence(u"Meta+V"_s).toString(QKeySequence::NativeText)),
            qPrintable(textOf(view)));
    }

    void offersToStartAtLogIn_data()
    {
        QTest::addColumn<bool>("canBeSet");
        QTest::newRow("set") << true;
        QTest::newRow("another program's entry in the way") << false;
    }

    void offersToStartAtLogIn()
    {
        QFETCH(bool, canBeSet);
        QTemporaryDir folder;
        SessionShortcuts shortcuts;
        UserDefaults defaults(folder.filePath(u"vantrel.conf"_s));
        ShortcutBindings bindings(shortcuts, defaults);
        EnablingLoginItems enabling;
        RefusingLoginItems refusing;
        LoginItems& loginItems = canBeSet ? static_cast<LoginItems&>(enabling) : refusing;
        WelcomeView view(bindings, loginItems);
        view.show();
        QPushButton* offer = view.actionButton();
        QVERIFY(offer->isVisible());
        QCOMPARE(offer->text(), u"Start at Log-In"_s);

        QTest::mouseClick(offer, Qt::LeftButton);
        QCOMPARE(enabling.enabled, canBeSet);
        QCOMPARE(offer->isVisible(), !canBeSet);
        QVERIFY(textOf(view).endsWith(canBeSet
                                          ? u"Vantrel now starts when you log in."_s
                                          : u"Vantrel could not be set to start at log-in."_s));

        // Already starting at log-in: nothing to offer.
        WelcomeView again(bindings, enabling);
        again.show();
        QCOMPARE(again.actionButton()->isVisible(), !canBeSet);
    }

    void dismissingHidesIt()
    {
        QTemporaryDir folder;
        SessionShortcuts shortcuts;
        UserDefaults defaults(folder.filePath(u"vantrel.conf"_s));
        ShortcutBindings bindings(shortcuts, defaults);
        EnablingLoginItems loginItems;
        WelcomeView view(bindings, loginItems);
        view.show();
        QSignalSpy dismissed(&view, &NoticeBar::dismissed);
        auto* close = view.findChild<QAbstractButton*>(u"noticeClose"_s);
        QCOMPARE(close->accessibleName(), u"Dismiss"_s);
        QTest::mouseClick(close, Qt::LeftButton);
        QVERIFY(!view.isVisible());
        QCOMPARE(dismissed.size(), 1);
    }
};

QTEST_MAIN(TestWelcomeView)
#include "tst_welcomeview.moc"
