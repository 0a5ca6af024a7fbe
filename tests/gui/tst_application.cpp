#include "app/Application.h"
#include "item/PBTextContent.h"
#include "platform/Platform.h"
#include "platform/PlatformLinux.h"
#include "platform/doubles/ApplicationStateMemory.h"
#include "platform/doubles/GlobalShortcutsNull.h"
#include "platform/doubles/LoginItemsMemory.h"
#include "platform/doubles/PasteboardMemory.h"
#include "platform/doubles/WorkspaceNull.h"
#include "recording/PBWatcher.h"
#include "shell/TimeUpdater.h"
#include "storage/DBManager.h"
#include "storage/DataManager.h"
#include "storage/SettingsManager.h"
#include "support/MessageChannelNull.h"
#include "support/MessageChannelWormhole.h"
#include "support/SqliteDatabase.h"
#include "support/SqliteStatement.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {
// Names the accessor a child process calls before any application exists.
const char* const tooEarlyVariable = "VANTREL_TEST_CALL_TOO_EARLY";

void callTooEarly(const QByteArray& accessor)
{
    if (accessor == "DBManager")
        DBManager::sharedManager();
    else if (accessor == "PBWatcher")
        PBWatcher::sharedWatcher();
    else if (accessor == "SettingsManager")
        SettingsManager::sharedManager();
    else if (accessor == "Platform")
        Platform::pasteboard();
}

int rowCount(const QString& dbPath)
{
    SqliteDatabase db;
    if (!db.open(dbPath))
        return -1;
    SqliteStatement statement(db, u"SELECT COUNT(*) AS n FROM pb_items"_s);
    return statement.step() ? int(statement.integer("n")) : -1;
}
} // namespace

// The composition root of the running session, on the offscreen platform with the user's
// folders in a temporary place.
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

    void accessorsReturnWhatTheRootBuiltInTheUsersFolders()
    {
        const std::unique_ptr<Application> application = Application::forSession();
        SettingsManager& settings = SettingsManager::sharedManager();
        QCOMPARE(&SettingsManager::sharedManager(), &settings);
        QCOMPARE(settings.filePath(), m_dataFolder + u"/config"_s);
        QCOMPARE(DataManager::sharedManager().savePath(), m_dataFolder + u"/data"_s);
        QVERIFY(QFileInfo(m_dataFolder + u"/data"_s).isDir());
        QCOMPARE(DBManager::sharedManager().dbPath(), m_dataFolder + u"/db.sqlite3"_s);
        QVERIFY(DBManager::sharedManager().isOpen());
        // Launching has started the watcher and the clock tick.
        QVERIFY(PBWatcher::sharedWatcher().watching());
        QVERIFY(TimeUpdater::sharedUpdater().isRunning());
    }

    void anAccessorUsedBeforeTheRootBuiltItStopsTheProgram_data()
    {
        QTest::addColumn<QString>("accessor");
        QTest::addColumn<QString>("message");
        QTest::newRow("history") << u"DBManager"_s
                                 << u"DBManager::sharedManager() used before the application"_s;
        QTest::newRow("watcher") << u"PBWatcher"_s
                                 << u"PBWatcher::sharedWatcher() used before the application"_s;
        QTest::newRow("settings")
            << u"SettingsManager"_s
            << u"SettingsManager::sharedManager() used before the application"_s;
        QTest::newRow("clipboard")
            << u"Platform"_s << u"Platform::pasteboard() used before the application"_s;
    }

    void anAccessorUsedBeforeTheRootBuiltItStopsTheProgram()
    {
        QFETCH(QString, accessor);
        QFETCH(QString, message);
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QString::fromLatin1(tooEarlyVariable), accessor);
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(child.waitForFinished(30'000));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);
        QVERIFY2(QString::fromLocal8Bit(child.readAllStandardError()).contains(message),
                 qPrintable(message));
    }

    // A copy handed over just before the quit is still being stored when the quit begins: it is
    // recorded before the last retention pass, which then clears it with the rest.
    void aCopyStillBeingStoredAtQuitMeetsTheLastRetentionPass()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        PasteboardMemory pasteboard;
        pasteboard.setAnnouncesChanges(true);
        ApplicationStateMemory state;
        WorkspaceNull workspace;
        MessageChannelNull channel;
        LoginItemsMemory loginItems;
        GlobalShortcutsNull shortcuts;
        const auto application = std::make_unique<Application>(Application::Environment{
            {&pasteboard, &state, &workspace, &channel, &loginItems, &shortcuts},
            folder.filePath(u"data"_s),
            folder.filePath(u"vantrel.conf"_s)});
        SettingsManager::sharedManager().model().setSaveMode(
            SettingsModel::SaveMode::ClearWhenExiting);
        QVERIFY(PBWatcher::sharedWatcher().watching());

        // Storing this many bytes takes far longer than the way from the copy to the quit.
        QTimer::singleShot(0, qApp, [&pasteboard] {
            pasteboard.writeItem({u"public.utf8-plain-text"_s}, {QByteArray(32 << 20, 'q')});
            QCoreApplication::quit();
        });
        QTimer::singleShot(10'000, qApp, [] { QCoreApplication::exit(1); });
        QTest::ignoreMessage(QtInfoMsg, "delete data count: 1");
        QCOMPARE(QApplication::exec(), 0);
        QCOMPARE(rowCount(folder.filePath(u"data/db.sqlite3"_s)), 0);
    }

    // Last: it ends the application's event loop.
    void quitWritesTheSettingsAppliesRecordKeepingAndSaysGoodbye()
    {
        const std::unique_ptr<Application> application = Application::forSession();
        SettingsManager::sharedManager().model().setSaveMode(
            SettingsModel::SaveMode::ClearWhenExiting);
        auto item = PBContent::createInstance<PBTextContent>();
        item->setKeyword(u"unmarked"_s);
        item->setPasteboardTypes({u"public.utf8-plain-text"_s});
        item->setDataArray({"unmarked"});
        item->setDataPathArray(DataManager::sharedManager().saveDataOfContent(*item));
        std::optional<bool> written;
        DBManager::sharedManager().insertPbContent(item, [&written](bool ok) { written = ok; });
        QTRY_VERIFY(written.has_value());
        QVERIFY(*written);
        const QString dbPath = DBManager::sharedManager().dbPath();
        QCOMPARE(rowCount(dbPath), 1);

        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        QTimer::singleShot(10'000, qApp, [] { QCoreApplication::exit(1); });
        QCOMPARE(QApplication::exec(), 0);

        QFile config(m_dataFolder + u"/config"_s);
        QVERIFY(config.open(QIODevice::ReadOnly));
        QCOMPARE(QJsonDocument::fromJson(config.readAll()).object().value(u"saveMode"_s).toInt(),
                 2);
        QCOMPARE(rowCount(dbPath), 0);
        const QString wormhole = MessageChannelWormhole::defaultFolder();
        QVERIFY(wormhole.startsWith(m_home.path()));
        QVERIFY(QFile::exists(wormhole + u"/app.terminate.archive"_s));
    }

private:
    QTemporaryDir m_home;
    QString m_dataFolder;
};

int main(int argc, char** argv)
{
    // The child process of the test above: no application, only the accessor.
    if (qEnvironmentVariableIsSet(tooEarlyVariable)) {
        callTooEarly(qgetenv(tooEarlyVariable));
        return 0;
    }
    QApplication app(argc, argv);
    TestApplication test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_application.moc"
