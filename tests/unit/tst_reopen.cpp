#include "ShellFixture.h"

#include <QMenu>
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

class TestReopen : public QObject
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

QTEST_MAIN(TestReopen)
#include "tst_reopen.moc"
