#include "platform/x11/WindowColormapX11.h"
#include "platform/x11/XcbReply.h"

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QWindow>
#include <xcb/xcb.h>

class TestWindowColormapX11 : public QObject
{
    Q_OBJECT

private slots:
    // The ARGB window stands for a window of another visual, which needs a colormap of its own.
    void rootVisualWindowsUseTheDefaultColormapOthersKeepTheirs()
    {
        xcb_connection_t* connection =
            qApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
        const WindowColormapX11 colormaps(connection);
        QWidget mainWindow, translucent;
        translucent.setAttribute(Qt::WA_TranslucentBackground);
        QMessageBox box(QMessageBox::Question, QStringLiteral("Clear"), QStringLiteral("Sure?"),
                        QMessageBox::Cancel, &mainWindow);
        box.setWindowModality(Qt::WindowModal);
        mainWindow.show();
        translucent.show();
        box.open();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QVERIFY(QTest::qWaitForWindowExposed(&translucent));
        for (const QWidget* widget : {&mainWindow, static_cast<QWidget*>(&box), &translucent}) {
            const auto window = static_cast<xcb_window_t>(widget->windowHandle()->winId());
            const XcbReply<xcb_get_window_attributes_reply_t> attributes(
                xcb_get_window_attributes_reply(
                    connection, xcb_get_window_attributes(connection, window), nullptr));
            QVERIFY(attributes);
            const bool rootVisual = attributes->visual == screen->root_visual;
            QCOMPARE(rootVisual, widget != &translucent);
            QCOMPARE(attributes->colormap == screen->default_colormap, rootVisual);
        }
    }
};

QTEST_MAIN(TestWindowColormapX11)
#include "tst_windowcolormapx11.moc"
