#include "platform/Workspace.h"
#include "platform/doubles/PasteKeystrokeMemory.h"
#include "shell/PasteToApplication.h"
#include "storage/SettingsModel.h"

#include <QHash>
#include <QSignalSpy>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {
constexpr quint64 ownWindow = 7;
constexpr quint64 otherWindow = 42;

// A desktop of a few windows: one is active, some have gone; activating a window makes it active
// at the desktop's next look, or never.
class DesktopDouble : public Workspace
{
public:
    DesktopWindow activeWindow() const override
    {
        if (m_pendingActivation && m_activates)
            m_active = *std::exchange(m_pendingActivation, std::nullopt);
        return m_active;
    }
    QString applicationId(DesktopWindow window) const override
    {
        return m_applications.value(window.id);
    }
    bool activateWindow(DesktopWindow window) override
    {
        if (!window.isValid() || !m_applications.contains(window.id))
            return false;
        m_pendingActivation = window;
        return true;
    }
    QStringList runningApplicationIds() const override { return m_applications.values(); }

    void addWindow(quint64 id, const QString& application)
    {
        m_applications.insert(id, application);
    }
    void removeWindow(quint64 id) { m_applications.remove(id); }
    void setActive(DesktopWindow window) { m_active = window; }
    void setActivates(bool activates) { m_activates = activates; }

private:
    QHash<quint64, QString> m_applications;
    mutable DesktopWindow m_active;
    mutable std::optional<DesktopWindow> m_pendingActivation;
    bool m_activates = true;
};

QString keysText(const QList<PasteKeystroke::Keys>& keys)
{
    QStringList texts;
    for (PasteKeystroke::Keys key : keys)
        texts << (key == PasteKeystroke::Keys::CtrlV ? u"ctrl+v"_s : u"ctrl+shift+v"_s);
    return texts.join(u' ');
}
} // namespace

class TestPasteToApplication : public QObject
{
    Q_OBJECT

private slots:
    void pasteGoesOnlyToTheWindowCalledFromOnceItIsActive_data()
    {
        QTest::addColumn<quint64>("activeWhenCalled");
        QTest::addColumn<QString>("application");
        QTest::addColumn<bool>("gone");
        QTest::addColumn<bool>("activates");
        QTest::addColumn<bool>("modifiersHeld");
        QTest::addColumn<bool>("needsTargetWindow");
        QTest::addColumn<QString>("typed");

        QTest::newRow("another application") << otherWindow << u"org.example.Editor"_s << false
                                             << true << false << true << u"ctrl+v"_s;
        QTest::newRow("a terminal") << otherWindow << u"org.gnome.Terminal"_s << false << true
                                    << false << true << u"ctrl+shift+v"_s;
        QTest::newRow("a terminal by its class, in another case")
            << otherWindow << u"XTerm"_s << false << true << false << true << u"ctrl+shift+v"_s;
        QTest::newRow("called from its own window")
            << ownWindow << u"vantrel"_s << false << true << false << true << QString();
        QTest::newRow("called with no window active")
            << quint64(0) << QString() << false << true << false << true << QString();
        QTest::newRow("the window has gone")
            << otherWindow << u"org.example.Editor"_s << true << true << false << true << QString();
        QTest::newRow("the window never becomes active")
            << otherWindow << u"org.example.Editor"_s << false << false << false << true
            << QString();
        QTest::newRow("Shift still held")
            << otherWindow << u"org.example.Editor"_s << false << true << true << true << QString();
        QTest::newRow("no window names: the compositor is given time")
            << quint64(0) << QString() << false << true << false << false << u"ctrl+v"_s;
        QTest::newRow("no window names: Shift still held")
            << quint64(0) << QString() << false << true << true << false << QString();
    }

    void pasteGoesOnlyToTheWindowCalledFromOnceItIsActive()
    {
        QFETCH(quint64, activeWhenCalled);
        QFETCH(QString, application);
        QFETCH(bool, gone);
        QFETCH(bool, activates);
        QFETCH(bool, modifiersHeld);
        QFETCH(bool, needsTargetWindow);
        QFETCH(QString, typed);

        DesktopDouble desktop;
        desktop.addWindow(ownWindow, u"vantrel"_s);
        if (activeWhenCalled != 0 && activeWhenCalled != ownWindow)
            desktop.addWindow(activeWhenCalled, application);
        desktop.setActive(DesktopWindow{activeWhenCalled});
        desktop.setActivates(activates);
        PasteKeystrokeMemory keystroke;
        keystroke.setModifiersHeld(modifiersHeld);
        keystroke.setNeedsTargetWindow(needsTargetWindow);
        SettingsModel settings;
        PasteToApplication paste({desktop, keystroke, settings,
                                  [](DesktopWindow window) { return window.id == ownWindow; }});

        paste.rememberActiveWindow();
        // Vantrel's window comes up, takes the focus, and is closed once the item is chosen.
        desktop.setActive(DesktopWindow{ownWindow});
        if (gone)
            desktop.removeWindow(activeWhenCalled);
        QSignalSpy finished(&paste, &PasteToApplication::finished);
        paste.paste();
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, PasteToApplication::giveUpMs * 2);
        QCOMPARE(finished.first().first().toBool(), !typed.isEmpty());
        QCOMPARE(keysText(keystroke.sent()), typed);
    }

    // Calling the other window of Vantrel from the first keeps the window the first was called
    // from.
    void ownWindowsAreNeverRemembered()
    {
        DesktopDouble desktop;
        desktop.addWindow(otherWindow, u"org.example.Editor"_s);
        desktop.addWindow(ownWindow, u"vantrel"_s);
        PasteKeystrokeMemory keystroke;
        SettingsModel settings;
        PasteToApplication paste({desktop, keystroke, settings,
                                  [](DesktopWindow window) { return window.id == ownWindow; }});
        desktop.setActive(DesktopWindow{otherWindow});
        paste.rememberActiveWindow();
        desktop.setActive(DesktopWindow{ownWindow});
        paste.rememberActiveWindow();
        QCOMPARE(paste.rememberedWindow().id, otherWindow);
    }

    void eachWindowFollowsItsPreference_data()
    {
        QTest::addColumn<bool>("fromMini");
        QTest::addColumn<bool>("fromMain");
        QTest::addColumn<bool>("available");
        QTest::addColumn<bool>("miniPastes");
        QTest::addColumn<bool>("mainPastes");
        QTest::newRow("defaults") << true << false << true << true << false;
        QTest::newRow("both") << true << true << true << true << true;
        QTest::newRow("neither") << false << false << true << false << false;
        QTest::newRow("the session types nowhere") << true << true << false << false << false;
    }

    void eachWindowFollowsItsPreference()
    {
        QFETCH(bool, fromMini);
        QFETCH(bool, fromMain);
        QFETCH(bool, available);
        DesktopDouble desktop;
        PasteKeystrokeMemory keystroke;
        keystroke.setAvailable(available);
        SettingsModel settings;
        if (!fromMini || fromMain) {
            settings.setPasteFromMiniWindow(fromMini);
            settings.setPasteFromMainWindow(fromMain);
        }
        const PasteToApplication paste({desktop, keystroke, settings});
        QTEST(paste.pastesFrom(PasteToApplication::Origin::MiniWindow), "miniPastes");
        QTEST(paste.pastesFrom(PasteToApplication::Origin::MainWindow), "mainPastes");
    }
};

QTEST_GUILESS_MAIN(TestPasteToApplication)
#include "tst_pastetoapplication.moc"
