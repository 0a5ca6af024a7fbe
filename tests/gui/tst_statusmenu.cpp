#include "UrlRecorder.h"
#include "unit/ShellFixture.h"

#include <QMenu>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {
QStringList titles(const QMenu& menu)
{
    QStringList result;
    for (const QAction* item : menu.actions())
        result << (item->isSeparator() ? QString() : item->text());
    return result;
}

QAction* item(const QMenu& menu, const QString& title)
{
    for (QAction* entry : menu.actions()) {
        if (entry->text() == title)
            return entry;
    }
    return nullptr;
}

// Opens the menu as a click on the tray icon would, so that it is built afresh.
QMenu& openMenu(ShellFixture& app)
{
    QMenu& menu = *app.delegate->statusItem()->contextMenu();
    menu.popup(QPoint(0, 0));
    menu.hide();
    return menu;
}

QImage imageOf(const QIcon& icon, int pixels)
{
    return icon.pixmap(QSize(pixels, pixels)).toImage().convertToFormat(QImage::Format_ARGB32);
}

bool windowShown(const QString& objectName)
{
    for (const QWidget* window : QApplication::topLevelWidgets()) {
        if (window->objectName() == objectName && window->isVisible())
            return true;
    }
    return false;
}
} // namespace

class TestStatusMenu : public QObject
{
    Q_OBJECT

private slots:
    void menuHasTheTwelveEntriesInOrderWithoutShortcuts()
    {
        ShellFixture app;
        const QMenu& menu = openMenu(app);
        QCOMPARE(
            titles(menu),
            QStringList({QStringLiteral("Recording..."), QStringLiteral("Ignore the next copy"),
                         QString(), QStringLiteral("Open Vantrel"),
                         QStringLiteral("Open Vantrel Mini"), QString(),
                         QStringLiteral("Preferences..."), QString(), QStringLiteral("Rate Us"),
                         QStringLiteral("Contact Us"), QString(), QStringLiteral("Quit")}));
        for (const QAction* entry : menu.actions())
            QVERIFY2(entry->shortcut().isEmpty(), qPrintable(entry->text()));
        // Opened again, it is built again rather than added to.
        QCOMPARE(openMenu(app).actions().size(), 12);
    }

    void recordingItemFollowsTheWatcher()
    {
        ShellFixture app;
        QMenu& menu = openMenu(app);
        QAction* recording = menu.actions().first();
        const QIcon watching(QStringLiteral(":/icons/recording_1.svg"));
        const QIcon paused(QStringLiteral(":/icons/recording_2.svg"));
        QCOMPARE(recording->text(), QStringLiteral("Recording..."));
        QCOMPARE(recording->icon().availableSizes(), QList<QSize>{QSize(10, 10)});
        QCOMPARE(imageOf(recording->icon(), 10), imageOf(watching, 10));

        recording->trigger();
        QVERIFY(!app.store.watcher.watching());
        QCOMPARE(recording->text(), QStringLiteral("Paused"));
        QCOMPARE(recording->icon().availableSizes(), QList<QSize>{QSize(14, 14)});
        QCOMPARE(imageOf(recording->icon(), 14), imageOf(paused, 14));
        QCOMPARE(openMenu(app).actions().first()->text(), QStringLiteral("Paused"));

        // Started from elsewhere (`vantrel --toggle-recording`), the open menu follows too.
        app.delegate->handleRequest(ShellRequest::ToggleRecording);
        QVERIFY(app.store.watcher.watching());
        QCOMPARE(menu.actions().first()->text(), QStringLiteral("Recording..."));
    }

    void eachEntryDoesItsJob_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("opened");

        QTest::newRow("Open Vantrel")
            << QStringLiteral("Open Vantrel") << QStringLiteral("mainWindow") << QString();
        QTest::newRow("Open Vantrel Mini")
            << QStringLiteral("Open Vantrel Mini") << QStringLiteral("miniWindow") << QString();
        QTest::newRow("Preferences...")
            << QStringLiteral("Preferences...") << QStringLiteral("settingsWindow") << QString();
        QTest::newRow("Rate Us") << QStringLiteral("Rate Us") << QString()
                                 << QStringLiteral("appstream://" VANTREL_APP_ID);
        QTest::newRow("Contact Us") << QStringLiteral("Contact Us") << QString()
                                    << QStringLiteral("mailto:" VANTREL_SUPPORT_EMAIL);
    }

    void eachEntryDoesItsJob()
    {
        QFETCH(QString, title);
        QFETCH(QString, window);
        QFETCH(QString, opened);

        ShellFixture app;
        UrlRecorder urls({QStringLiteral("appstream"), QStringLiteral("mailto")});
        item(openMenu(app), title)->trigger();
        if (!window.isEmpty())
            QVERIFY(windowShown(window));
        QCOMPARE(urls.opened.size(), opened.isEmpty() ? 0 : 1);
        // QUrl keeps a host (here the application id) in lower case, as the opener gets it.
        if (!opened.isEmpty())
            QCOMPARE(urls.opened.first(), QUrl(opened));
    }

    void preferencesComeToTheFrontUnminimisedEachTime()
    {
        ShellFixture app;
        item(openMenu(app), QStringLiteral("Preferences..."))->trigger();
        QVERIFY(app.settingsWindow.isVisible());

        app.settingsWindow.showMinimized();
        app.delegate->handleRequest(ShellRequest::Preferences);
        QVERIFY(app.settingsWindow.isVisible());
        QVERIFY(!app.settingsWindow.isMinimized());
    }

    // Drawn in the text colour inside a halo of the window colour, so it shows on light and dark
    // panels: its opaque pixels hold both colours and blends of the two at their edges, nothing
    // else. A paused Vantrel has a badge and says so in the tooltip.
    void trayIconIsDrawnInTheTextColourAndFollowsIt()
    {
        ShellFixture app;
        QSystemTrayIcon* tray = app.delegate->statusItem();
        const auto drawn = [tray] { return tray->icon().pixmap(22).toImage(); };
        const auto drawnIn = [&drawn](const QColor& text, const QColor& halo) {
            const QImage image = drawn();
            QSet<QRgb> colours;
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    const QColor pixel = image.pixelColor(x, y);
                    if (pixel.alpha() < 255)
                        continue;
                    const qreal t = (pixel.redF() - halo.redF()) / (text.redF() - halo.redF());
                    for (auto channel : {&QColor::redF, &QColor::greenF, &QColor::blueF}) {
                        const qreal blend = (text.*channel)() * t + (halo.*channel)() * (1 - t);
                        if (qAbs((pixel.*channel)() - blend) > 0.02)
                            return false;
                    }
                    colours.insert(pixel.rgb());
                }
            }
            return colours.contains(text.rgb()) && colours.contains(halo.rgb());
        };
        const QPalette original = QApplication::palette();
        const QColor text = original.color(QPalette::WindowText);
        const QColor window = original.color(QPalette::Window);
        QVERIFY(drawnIn(text, window));
        QCOMPARE(tray->toolTip(), u"Vantrel"_s);
        const QImage recording = drawn();

        app.store.watcher.stopWatch();
        QCOMPARE(tray->toolTip(), u"Vantrel \u2014 recording paused"_s);
        QVERIFY(drawn() != recording);
        QVERIFY(drawnIn(text, window));
        app.store.watcher.startWatch();
        QCOMPARE(drawn(), recording);

        QPalette dark = original;
        dark.setColor(QPalette::WindowText, QColor(0xee, 0xdd, 0x11));
        dark.setColor(QPalette::Window, QColor(0x22, 0x11, 0x33));
        QApplication::setPalette(dark);
        QVERIFY(drawnIn(QColor(0xee, 0xdd, 0x11), QColor(0x22, 0x11, 0x33)));
        QApplication::setPalette(original);
    }

    // Armed from the menu, the next copy is left out and the one after it recorded; unticked
    // before a copy, nothing is left out.
    void ignoreTheNextCopyLeavesOutOneCopy()
    {
        ShellFixture app;
        QVERIFY(!item(openMenu(app), QStringLiteral("Ignore the next copy"))->isChecked());
        item(openMenu(app), QStringLiteral("Ignore the next copy"))->trigger();
        QVERIFY(item(openMenu(app), QStringLiteral("Ignore the next copy"))->isChecked());
        app.copy(QStringLiteral("secret"));
        QTRY_VERIFY(!item(openMenu(app), QStringLiteral("Ignore the next copy"))->isChecked());
        app.copy(QStringLiteral("kept"));
        QTRY_COMPARE(app.store.manager->recentItems().size(), 1);

        item(openMenu(app), QStringLiteral("Ignore the next copy"))->trigger();
        item(openMenu(app), QStringLiteral("Ignore the next copy"))->trigger();
        app.copy(QStringLiteral("also kept"));
        QTRY_COMPARE(app.store.manager->recentItems().size(), 2);
        QCOMPARE(app.storedKeywords(), QStringList({u"also kept"_s, u"kept"_s}));
    }

    // Last: it ends the application's event loop.
    void quitRunsTheShutdown()
    {
        ShellFixture app;
        app.store.settings.setSaveMode(SettingsModel::SaveMode::ClearWhenExiting);
        app.copy(QStringLiteral("marked"));
        QTRY_COMPARE(app.store.manager->recentItems().size(), 1);
        app.copy(QStringLiteral("unmarked"));
        QTRY_COMPARE(app.store.manager->recentItems().size(), 2);
        const PBContentPtr marked = app.store.manager->recentItems().last();
        bool stored = false;
        app.store.manager->updateFavorite({marked}, true, [&stored] { stored = true; });
        QTRY_VERIFY(stored);

        QTimer::singleShot(0, item(openMenu(app), QStringLiteral("Quit")), &QAction::trigger);
        QTimer::singleShot(10'000, qApp, [] { QCoreApplication::exit(1); });
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(!app.timeUpdater.isRunning());
        QCOMPARE(app.storedKeywords(), QStringList{QStringLiteral("marked")});
    }
};

QTEST_MAIN(TestStatusMenu)
#include "tst_statusmenu.moc"
