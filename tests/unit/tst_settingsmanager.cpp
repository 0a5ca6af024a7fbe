#include "storage/SettingsManager.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/resource.h>

using namespace Qt::StringLiterals;

namespace {
const QByteArray kAbsent = "<no file>"_ba;

// The whole object a model is saved as: these numbers, the other members' defaults but where
// `others` says otherwise.
QJsonObject expectedObject(qint64 copyMode, qint64 saveMode, qint64 saveTime, qint64 saveCount,
                           const QJsonObject& others = {})
{
    QJsonObject object{{"copyMode"_L1, copyMode},
                       {"saveMode"_L1, saveMode},
                       {"saveTime"_L1, saveTime},
                       {"saveCount"_L1, saveCount},
                       {"pasteFromMiniWindow"_L1, true},
                       {"pasteFromMainWindow"_L1, false},
                       {"terminalApplications"_L1,
                        QJsonArray::fromStringList(SettingsModel::defaultTerminalApplications())},
                       {"ignoredApplications"_L1, QJsonArray()}};
    for (auto member = others.begin(); member != others.end(); ++member)
        object.insert(member.key(), member.value());
    return object;
}

bool writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

// The owner, group and other bits, without Qt's bits for the current user.
QFile::Permissions modeOf(const QString& path)
{
    const QFile::Permissions user = QFile::ReadUser | QFile::WriteUser | QFile::ExeUser;
    return QFileInfo(path).permissions() & ~user;
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

class TestSettingsManager : public QObject
{
    Q_OBJECT

private slots:
    void fileIsReadMemberByMemberAndWrittenBackWhole_data();
    void fileIsReadMemberByMemberAndWrittenBackWhole();
    void savedSettingsAreReadBackByTheNextRun();
    void savingKeepsTheFolderAndFilePrivate_data();
    void savingKeepsTheFolderAndFilePrivate();
    void failedSaveLeavesThePreviousFileWhole();
};

void TestSettingsManager::fileIsReadMemberByMemberAndWrittenBackWhole_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QJsonObject>("expected");
    QTest::addColumn<bool>("keptAside"); // as config.damaged-<date>, before the defaults go in
    const QJsonObject defaults = expectedObject(0, 3, 0, 0);
    QTest::newRow("no file") << kAbsent << defaults << false;
    QTest::newRow("empty file") << ""_ba << defaults << false;
    QTest::newRow("only saveMode") << R"({"saveMode":1})"_ba << expectedObject(0, 1, 0, 0) << false;
    QTest::newRow("every member")
        << R"( {"saveCount":3, "copyMode":1,"saveTime":2,"saveMode":0} )"_ba
        << expectedObject(1, 0, 2, 3) << false;
    QTest::newRow("not JSON") << "copyMode=1"_ba << defaults << true;
    QTest::newRow("JSON array") << R"([{"copyMode":1}])"_ba << defaults << true;
    QTest::newRow("text member ignored alone")
        << R"({"copyMode":"1","saveMode":1})"_ba << expectedObject(0, 1, 0, 0) << false;
    QTest::newRow("bool, fraction and null ignored alone")
        << R"({"saveTime":true,"saveCount":2.5,"copyMode":null,"saveMode":2})"_ba
        << expectedObject(0, 2, 0, 0) << false;
    QTest::newRow("unknown member")
        << R"({"copyMode":1,"theme":"dark"})"_ba << expectedObject(1, 3, 0, 0) << false;
    QTest::newRow("paste and application lists")
        << R"({"pasteFromMiniWindow":false,"pasteFromMainWindow":true,"terminalApplications":["kitty"],"ignoredApplications":["org.keepassxc.KeePassXC","Remmina"]})"_ba
        << expectedObject(
               0, 3, 0, 0,
               {{"pasteFromMiniWindow"_L1, false},
                {"pasteFromMainWindow"_L1, true},
                {"terminalApplications"_L1, QJsonArray{u"kitty"_s}},
                {"ignoredApplications"_L1, QJsonArray{u"org.keepassxc.KeePassXC"_s, u"Remmina"_s}}})
        << false;
    QTest::newRow("paste and application lists of the wrong kind")
        << R"({"pasteFromMiniWindow":0,"terminalApplications":"kitty","ignoredApplications":["a",1]})"_ba
        << expectedObject(0, 3, 0, 0) << false;
    QTest::newRow("64-bit value") << R"({"saveCount":8589934592})"_ba
                                  << expectedObject(0, 3, 0, 8589934592) << false;
}

void TestSettingsManager::fileIsReadMemberByMemberAndWrittenBackWhole()
{
    QFETCH(QByteArray, content);
    QFETCH(QJsonObject, expected);
    QFETCH(bool, keptAside);
    QTemporaryDir dir;
    if (content != kAbsent)
        QVERIFY(writeFile(dir.filePath(u"config"_s), content));

    SettingsManager manager(dir.path());
    const QStringList kept = QDir(dir.path()).entryList({u"config.damaged-*"_s});
    QCOMPARE(kept.size(), keptAside ? 1 : 0);
    if (keptAside)
        QCOMPARE(readFile(dir.filePath(kept.first())), content);
    const SettingsModel& model = manager.model();
    QCOMPARE(qint64(model.copyMode()), expected.value("copyMode"_L1).toInteger());
    QCOMPARE(qint64(model.saveMode()), expected.value("saveMode"_L1).toInteger());
    QCOMPARE(model.saveTime(), expected.value("saveTime"_L1).toInteger());
    QCOMPARE(model.saveCount(), expected.value("saveCount"_L1).toInteger());
    QCOMPARE(model.pasteFromMiniWindow(), expected.value("pasteFromMiniWindow"_L1).toBool());
    QCOMPARE(model.pasteFromMainWindow(), expected.value("pasteFromMainWindow"_L1).toBool());
    QCOMPARE(QJsonArray::fromStringList(model.ignoredApplications()),
             expected.value("ignoredApplications"_L1).toArray());

    QVERIFY(manager.save());
    const QByteArray saved = readFile(manager.filePath());
    QVERIFY2(!saved.contains(' ') && !saved.contains('\n'), saved.constData());
    QCOMPARE(QJsonDocument::fromJson(saved).object(), expected);
}

void TestSettingsManager::savedSettingsAreReadBackByTheNextRun()
{
    QTemporaryDir dir;
    SettingsManager first(dir.path());
    first.model().setCopyMode(SettingsModel::CopyMode::CopyTwice);
    first.model().setSaveMode(SettingsModel::SaveMode::ByNumber);
    first.model().setSaveTime(3);
    first.model().setSaveCount(2);
    QVERIFY(first.save());
    SettingsManager next(dir.path());
    QCOMPARE(next.model(), first.model());
}

void TestSettingsManager::savingKeepsTheFolderAndFilePrivate_data()
{
    QTest::addColumn<bool>("folderExists");
    QTest::addColumn<bool>("fileExists");
    QTest::newRow("new folder") << false << false;
    QTest::newRow("new file") << true << false;
    QTest::newRow("world-readable file") << true << true;
}

void TestSettingsManager::savingKeepsTheFolderAndFilePrivate()
{
    QFETCH(bool, folderExists);
    QFETCH(bool, fileExists);
    QTemporaryDir dir;
    const QString folder = dir.filePath(u"data/vantrel"_s);
    const QString config = folder + "/config"_L1;
    if (folderExists)
        QVERIFY(QDir().mkpath(folder));
    if (fileExists) {
        QVERIFY(writeFile(config, "{}"_ba));
        QVERIFY(QFile::setPermissions(config, QFile::ReadOwner | QFile::WriteOwner |
                                                  QFile::ReadGroup | QFile::ReadOther));
    }
    const QFile::Permissions folderBefore = modeOf(folder);

    QVERIFY(SettingsManager(folder).save());

    QCOMPARE(modeOf(config), QFile::ReadOwner | QFile::WriteOwner);
    // A folder the settings create is private; one that existed is left as it was.
    QCOMPARE(modeOf(folder),
             folderExists ? folderBefore : QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void TestSettingsManager::failedSaveLeavesThePreviousFileWhole()
{
    QTemporaryDir dir;
    const QString config = dir.filePath(u"config"_s);
    const QByteArray previous = R"({"copyMode":1})"_ba;
    QVERIFY(writeFile(config, previous));
    SettingsManager manager(dir.path());
    manager.model().setSaveMode(SettingsModel::SaveMode::ByDuration);

    // A file-size limit below the new content's size makes the write fail half-way, as a full
    // disk would.
    rlimit saved{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit tight = saved;
    tight.rlim_cur = rlim_t(previous.size());
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &tight), 0);
    const bool written = manager.save();
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &saved), 0);

    QVERIFY(!written);
    QCOMPARE(readFile(config), previous);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"config"_s});
}

QTEST_GUILESS_MAIN(TestSettingsManager)
#include "tst_settingsmanager.moc"
