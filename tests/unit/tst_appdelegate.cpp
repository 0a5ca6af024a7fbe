#include "ShellFixture.h"
#include "shell/ReviewPrompt.h"

#include <QMenu>
#include <QSettings>
#include <QtTest>

namespace {
QWidget* miniWindow()
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->objectName() == QLatin1String("miniWindow"))
            return window;
    }
    return nullptr;
}
} // namespace

class TestAppDelegate : public QObject
{
    Q_OBJECT

private slots:
    void reopenBringsBackTheRightWindow_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<bool>("handled");
        QTest::addColumn<bool>("mainShown");
        QTest::addColumn<bool>("miniShown");

        QTest::newRow("nothing ever shown: the main window")
            << QStringLiteral("none") << true << true << false;
        QTest::newRow("main window closed: the main window")
            << QStringLiteral("main closed") << true << true << false;
        QTest::newRow("mini window closed last: the mini window")
            << QStringLiteral("mini closed") << true << false << true;
        QTest::newRow("main window minimised: restored, nothing else")
            << QStringLiteral("main minimised") << false << true << false;
        QTest::newRow("mini window showing: left as it is")
            << QStringLiteral("mini shown") << false << false << true;
    }

    void reopenBringsBackTheRightWindow()
    {
        QFETCH(QString, before);
        QFETCH(bool, handled);
        QFETCH(bool, mainShown);
        QFETCH(bool, miniShown);

        ShellFixture app;
        QMainWindow& main = *app.mainWindow;
        if (before == QLatin1String("main closed")) {
            app.viewController().showMainWindow();
            main.close();
        } else if (before == QLatin1String("mini closed")) {
            app.viewController().showMiniWindow();
            miniWindow()->close();
        } else if (before == QLatin1String("main minimised")) {
            app.viewController().showMainWindow();
            main.showMinimized();
        } else if (before == QLatin1String("mini shown")) {
            app.viewController().showMiniWindow();
        }

        QCOMPARE(app.delegate->applicationShouldHandleReopen(AppDelegate::hasVisibleWindows()),
                 handled);
        QCOMPARE(main.isVisible(), mainShown);
        QVERIFY(!main.isMinimized());
        QCOMPARE(miniWindow() && miniWindow()->isVisible(), miniShown);
    }

    void bringingUpOneWindowClosesTheOther()
    {
        ShellFixture app;
        app.viewController().showMiniWindow();
        QVERIFY(miniWindow()->isVisible());
        QVERIFY(!app.mainWindow->isVisible());
        QVERIFY(app.viewController().miniWindowShowing());

        app.viewController().showMainWindow();
        QVERIFY(app.mainWindow->isVisible());
        QVERIFY(!miniWindow()->isVisible());
        QVERIFY(!app.viewController().miniWindowShowing());
    }

    void storedShortcutsBringUpTheirWindowsWithoutARestart()
    {
        ShellFixture app;
        QVERIFY(app.shortcuts.registered.value(QStringLiteral("MainWindowShortcut")).isEmpty());
        {
            QSettings defaults(app.userDefaultsPath, QSettings::IniFormat);
            defaults.setValue(QStringLiteral("MainWindowShortcut"), QStringLiteral("Ctrl+Alt+V"));
            defaults.setValue(QStringLiteral("MiniWindowShortcut"), QStringLiteral("Meta+Space"));
        }
        QTRY_COMPARE(app.shortcuts.registered.value(QStringLiteral("MiniWindowShortcut")),
                     QKeySequence(QStringLiteral("Meta+Space")));
        QCOMPARE(app.shortcuts.registered.value(QStringLiteral("MainWindowShortcut")),
                 QKeySequence(QStringLiteral("Ctrl+Alt+V")));

        app.shortcuts.press(QStringLiteral("MiniWindowShortcut"));
        QVERIFY(miniWindow() && miniWindow()->isVisible());
        app.shortcuts.press(QStringLiteral("MainWindowShortcut"));
        QVERIFY(app.mainWindow->isVisible());
        QVERIFY(!miniWindow()->isVisible());
    }

    void fifthShowingOfTheMainWindowAsksForARating()
    {
        ShellFixture app;
        for (int shown = 1; shown <= ReviewPrompt::appearancesBeforeAsking; ++shown) {
            app.viewController().showMainWindow();
            app.mainWindow->close();
        }
        QTRY_COMPARE(app.review.requests, 1);
    }

    void losingFocusAppliesRecordKeeping_data()
    {
        QTest::addColumn<int>("saveMode");
        QTest::addColumn<Qt::ApplicationState>("leftFor");
        QTest::addColumn<bool>("pruned");

        QTest::newRow("24 hours, another application active")
            << 0 << Qt::ApplicationInactive << true;
        QTest::newRow("24 hours, hidden") << 0 << Qt::ApplicationHidden << true;
        QTest::newRow("clear when exiting") << 2 << Qt::ApplicationInactive << false;
    }

    void losingFocusAppliesRecordKeeping()
    {
        QFETCH(int, saveMode);
        QFETCH(Qt::ApplicationState, leftFor);
        QFETCH(bool, pruned);

        ShellFixture app;
        app.store.settings.setSaveMode(SettingsModel::SaveMode(saveMode));
        app.copy(QStringLiteral("copied two days ago"));
        // Retention works on the lists, which follow the rows on the main thread.
        QTRY_COMPARE(app.store.manager->recentItems().size(), 1);
        app.store.clock.time = double(QDateTime::currentSecsSinceEpoch() + 2 * 24 * 3600);

        emit qApp->applicationStateChanged(Qt::ApplicationActive);
        QCOMPARE(app.storedKeywords().size(), 1);
        emit qApp->applicationStateChanged(leftFor);
        QCOMPARE(app.storedKeywords().isEmpty(), pruned);
    }

    // Where no tray shows the icon, the main window is all that shows Vantrel runs: it comes up
    // at start, saying once (in one run ever) how to reach Vantrel again. The first run also
    // welcomes, with or without a tray, and only the first.
    void startShowsWhatTheDesktopNeeds_data()
    {
        QTest::addColumn<bool>("withTray");
        QTest::addColumn<QByteArray>("userDefaults");
        QTest::addColumn<bool>("mainShown");
        QTest::addColumn<bool>("noticeShown");
        QTest::addColumn<bool>("welcomed");

        const QByteArray welcomed = "[General]\nWelcomeShown=true\n";
        const QByteArray both = "[General]\nWelcomeShown=true\nNoTrayNoticeShown=true\n";
        QTest::newRow("tray, first run") << true << QByteArray() << false << false << true;
        QTest::newRow("tray, later run") << true << welcomed << false << false << false;
        QTest::newRow("no tray, first run") << false << QByteArray() << true << true << true;
        QTest::newRow("no tray, first run without one")
            << false << welcomed << true << true << false;
        QTest::newRow("no tray, told before") << false << both << true << false << false;
    }

    void startShowsWhatTheDesktopNeeds()
    {
        QFETCH(bool, withTray);
        QFETCH(QByteArray, userDefaults);
        QFETCH(bool, mainShown);
        QFETCH(bool, noticeShown);
        QFETCH(bool, welcomed);

        ShellFixture app(withTray, userDefaults);
        QCOMPARE(app.mainWindow->isVisible(), mainShown);
        QCOMPARE(app.delegate->statusItem()->isVisible(), true);
        auto* notice = app.mainWindow->findChild<QWidget*>(QStringLiteral("noTrayNotice"));
        QVERIFY(notice);
        QCOMPARE(notice->isVisibleTo(app.mainWindow.get()), noticeShown);
        auto* welcome = app.mainWindow->findChild<QWidget*>(QStringLiteral("welcome"));
        QCOMPARE(welcome && welcome->isVisibleTo(app.mainWindow.get()), welcomed);

        const QSettings stored(app.userDefaultsPath, QSettings::IniFormat);
        QVERIFY(stored.value(QStringLiteral("WelcomeShown")).toBool());
        QCOMPARE(stored.value(QStringLiteral("NoTrayNoticeShown")).toBool(),
                 !withTray || userDefaults.contains("NoTrayNoticeShown"));
    }

    // The main window's own menu holds the tray menu's pause, preferences and quit entries: the
    // same actions, so they act and read the same from either menu.
    void windowMenuSharesTheTrayMenusEntries()
    {
        ShellFixture app(false);
        app.viewController().setApplicationMenu(app.delegate->windowMenuActions());
        auto* menu = app.mainWindow->findChild<QMenu*>(QStringLiteral("applicationMenu"));
        QVERIFY(menu);
        QStringList titles;
        for (const QAction* entry : menu->actions())
            titles << entry->text();
        QCOMPARE(titles, QStringList({QStringLiteral("Recording..."), QString(),
                                      QStringLiteral("Preferences..."), QString(),
                                      QStringLiteral("Quit")}));
        QAction* pause = menu->actions().at(0);
        QMenu* trayMenu = app.delegate->statusBarMenu();
        QVERIFY(trayMenu->actions().contains(pause));
        QVERIFY(trayMenu->actions().contains(menu->actions().at(2)));
        QVERIFY(trayMenu->actions().contains(menu->actions().at(4)));

        pause->trigger();
        QVERIFY(!app.store.watcher.watching());
        QCOMPARE(pause->text(), QStringLiteral("Paused"));
        QCOMPARE(app.delegate->statusBarMenu()->actions().first()->text(),
                 QStringLiteral("Paused"));
        pause->trigger();
        QVERIFY(app.store.watcher.watching());
        QCOMPARE(pause->text(), QStringLiteral("Recording..."));

        // Rebuilding the tray menu leaves the window's entries in place.
        app.delegate->statusBarMenu();
        QCOMPARE(menu->actions().size(), 5);
        menu->actions().at(2)->trigger();
        QTRY_VERIFY(app.settingsWindow.isVisible());
    }

    void openMenusAndMinimisedWindowsAreToldApart()
    {
        ShellFixture app;
        QMenu menu;
        menu.addAction(QStringLiteral("entry"));
        menu.popup(QPoint(10, 10));
        QTRY_VERIFY(menu.isVisible());
        QVERIFY(!AppDelegate::hasVisibleWindows());

        app.mainWindow->showMinimized();
        QVERIFY(AppDelegate::hasVisibleWindows());
    }
};

QTEST_MAIN(TestAppDelegate)
#include "tst_appdelegate.moc"
