#include "app/Application.h"
#include "platform/PlatformLinux.h"
#include "platform/doubles/ApplicationStateMemory.h"
#include "platform/doubles/GlobalShortcutsNull.h"
#include "platform/doubles/LoginItemsMemory.h"
#include "platform/doubles/PasteKeystrokeNull.h"
#include "platform/doubles/PasteboardMemory.h"
#include "platform/doubles/WorkspaceNull.h"
#include "storage/SettingsModel.h"
#include "support/MessageChannelNull.h"
#include "support/MessageChannelWormhole.h"
#include "support/SqliteDatabase.h"
#include "support/SqliteStatement.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {
const QString textType = u"public.utf8-plain-text"_s;

int rowCount(const QString& dbPath)
{
    SqliteDatabase db;
    if (!db.open(dbPath))
        return -1;
    SqliteStatement statement(db, u"SELECT COUNT(*) AS n FROM pb_items"_s);
    return statement.step() ? int(statement.integer("n")) : -1;
}

// The platform of a test: a clipboard in memory that announces its changes, and doubles for the
// rest. The message channel is the one given.
struct PlatformDoubles
{
    PasteboardMemory pasteboard;
    ApplicationStateMemory state;
    WorkspaceNull workspace;
    LoginItemsMemory loginItems;
    GlobalShortcutsNull shortcuts;
    PasteKeystrokeNull keystroke;

    PlatformDoubles() { pasteboard.setAnnouncesChanges(true); }
    PlatformServices services(MessageChannel& channel)
    {
        return {&pasteboard, &state, &workspace, &channel, &loginItems, &shortcuts, &keystroke};
    }
};

// An application over the doubles, keeping its history in a temporary folder.
struct AppOnDoubles
{
    QTemporaryDir folder;
    PlatformDoubles platform;
    MessageChannelNull channel;
    std::unique_ptr<Application> application = std::make_unique<Application>(
        Application::Environment{platform.services(channel), folder.filePath(u"data"_s),
                                 folder.filePath(u"vantrel.conf"_s)});
};

QList<QWidget*> settingsWindows()
{
    QList<QWidget*> windows;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->objectName() == u"settingsWindow"_s)
            windows.append(window);
    }
    return windows;
}

// Chooses "clear when exiting" in the preferences, as the user would.
void chooseClearWhenExiting(Application& application)
{
    application.handleRequest(ShellRequest::Preferences);
    QCOMPARE(settingsWindows().size(), 1);
    auto* group = settingsWindows().first()->findChild<QButtonGroup*>(u"deleteModeGroup"_s);
    QVERIFY(group);
    group->button(int(SettingsModel::SaveMode::ClearWhenExiting))->click();
}
} // namespace

// The composition root, on the offscreen platform with the user's folders in a temporary place.
class TestApplication : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_home.filePath(u"data"_s)));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.filePath(u"config"_s)));
        m_dataFolder = m_home.filePath(u"data/vantrel"_s);
    }

    void theSessionsApplicationKeepsTheHistoryInTheUsersFolders()
    {
        const std::unique_ptr<Application> application = Application::forSession();
        QVERIFY(QFileInfo(m_dataFolder + u"/data"_s).isDir());
        QCOMPARE(rowCount(m_dataFolder + u"/db.sqlite3"_s), 0);
    }

    // From launch on, a copy goes through the given clipboard into the history and the payload
    // folder in the given folder.
    void aCopyIsRecordedInTheGivenFolder()
    {
        AppOnDoubles app;
        QVERIFY(app.folder.isValid());

        app.platform.pasteboard.setItems({PasteboardItem({textType}, {{textType, "copied"}})});
        QTRY_COMPARE(rowCount(app.folder.filePath(u"data/db.sqlite3"_s)), 1);
        QVERIFY(!QDir(app.folder.filePath(u"data/data"_s)).isEmpty());
    }

    // The tray's entry and `vantrel --preferences` bring up the same window, made on first use.
    void thePreferencesWindowIsMadeOnceOnFirstUse()
    {
        AppOnDoubles app;
        QVERIFY(app.folder.isValid());
        QVERIFY(settingsWindows().isEmpty());

        app.application->handleRequest(ShellRequest::Preferences);
        QCOMPARE(settingsWindows().size(), 1);
        QWidget* window = settingsWindows().first();
        QVERIFY(window->isVisible());
        window->close();
        app.application->handleRequest(ShellRequest::Preferences);
        QCOMPARE(settingsWindows(), QList<QWidget*>{window});
        QVERIFY(window->isVisible());
    }

    // A copy handed over just before the quit is still being stored when the quit begins: it is
    // recorded before the last retention pass, which then clears it with the rest.
    void aCopyStillBeingStoredAtQuitMeetsTheLastRetentionPass()
    {
        AppOnDoubles app;
        QVERIFY(app.folder.isValid());
        chooseClearWhenExiting(*app.application);

        // Storing this many bytes takes far longer than the way from the copy to the quit.
        QTimer::singleShot(0, qApp, [&app] {
            app.platform.pasteboard.writeItem({textType}, {QByteArray(32 << 20, 'q')});
            QCoreApplication::quit();
        });
        QTimer::singleShot(10'000, qApp, [] { QCoreApplication::exit(1); });
        QTest::ignoreMessage(QtInfoMsg, "delete data count: 1");
        QCOMPARE(QApplication::exec(), 0);
        QCOMPARE(rowCount(app.folder.filePath(u"data/db.sqlite3"_s)), 0);
    }

    // Last: it ends the application's event loop.
    void quitWritesTheSettingsAndSaysGoodbye()
    {
        const std::unique_ptr<Application> application = Application::forSession();
        chooseClearWhenExiting(*application);
        // The choice was written at once; the quit writes the settings again.
        QFile config(m_dataFolder + u"/config"_s);
        QVERIFY(config.remove());

        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        QTimer::singleShot(10'000, qApp, [] { QCoreApplication::exit(1); });
        QCOMPARE(QApplication::exec(), 0);

        QVERIFY(config.open(QIODevice::ReadOnly));
        QCOMPARE(QJsonDocument::fromJson(config.readAll()).object().value(u"saveMode"_s).toInt(),
                 2);
        const QString wormhole = MessageChannelWormhole::defaultFolder();
        QVERIFY(wormhole.startsWith(m_home.path()));
        QVERIFY(QFile::exists(wormhole + u"/app.terminate.archive"_s));
    }

private:
    QTemporaryDir m_home;
    QString m_dataFolder;
};

QTEST_MAIN(TestApplication)

#include "tst_application.moc"
