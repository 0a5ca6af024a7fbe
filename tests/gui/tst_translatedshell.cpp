#include "browser/TabItemView.h"
#include "browser/ViewController.h"
#include "shell/Translations.h"
#include "unit/ShellFixture.h"

#include <QApplication>
#include <QMenu>
#include <QtTest>

using namespace Qt::StringLiterals;

// The program on a German desktop: the language comes from the environment, as at a real start.
class TestTranslatedShell : public QObject
{
    Q_OBJECT

private slots:
    void germanDesktopGetsGermanTexts()
    {
        QCOMPARE(Translations::install(*QCoreApplication::instance()), u"de"_s);
        ShellFixture app;

        // Opened as a click on the tray icon opens it, so that it is built afresh.
        QMenu& menu = *app.delegate->statusItem()->contextMenu();
        menu.popup(QPoint(0, 0));
        menu.hide();
        QStringList titles;
        for (const QAction* item : menu.actions()) {
            if (!item->isSeparator())
                titles << item->text();
        }
        QCOMPARE(titles,
                 QStringList({u"Aufzeichnung..."_s, u"Nächste Kopie ignorieren"_s,
                              u"Vantrel öffnen"_s, u"Vantrel Mini öffnen"_s, u"Einstellungen..."_s,
                              u"Bewerten"_s, u"Kontakt"_s, u"Beenden"_s}));

        // The tabs are made once the first load of the history is in.
        const ViewController& content = app.mainWindow->contentViewController();
        const auto tabTitles = [&content] {
            QStringList tabs;
            for (const TabItemView* tab : content.allTabItems())
                tabs << tab->title();
            return tabs;
        };
        app.mainWindow->show();
        QTRY_COMPARE(tabTitles(), QStringList({u"Zuletzt"_s, u"Markiert"_s, u"Text"_s, u"Bild"_s,
                                               u"URL"_s, u"Datei"_s}));
    }
};

int main(int argc, char** argv)
{
    // Read by the system locale when the application starts, as the desktop session sets it.
    qputenv("LANGUAGE", "de");
    qputenv("LC_ALL", "C.UTF-8");
    QApplication application(argc, argv);
    TestTranslatedShell test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_translatedshell.moc"
