#include "FileWrites.h"
#include "storage/UserDefaults.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {
mode_t modeOf(const QString& path)
{
    struct stat status = {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & 07777
                                                                     : mode_t(-1);
}
} // namespace

class TestUserDefaults : public QObject
{
    Q_OBJECT

private slots:
    void fileIsPrivateFromTheStart_data();
    void fileIsPrivateFromTheStart();
    void changedFollowsOwnWritesAndOtherProcesses();
};

void TestUserDefaults::fileIsPrivateFromTheStart_data()
{
    QTest::addColumn<bool>("fileExists");
    QTest::newRow("new file") << false;
    QTest::newRow("world-readable file") << true;
}

void TestUserDefaults::fileIsPrivateFromTheStart()
{
    QFETCH(bool, fileExists);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"vantrel/vantrel.conf"_s);
    if (fileExists) {
        QVERIFY(QDir().mkpath(dir.filePath(u"vantrel"_s)));
        QVERIFY(FileWrites::writeInPlace(path, "[General]\nOther=1\n"));
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner |
                                                QFile::ReadGroup | QFile::ReadOther));
    }

    UserDefaults defaults(path);
    if (!fileExists) {
        QCOMPARE(modeOf(dir.filePath(u"vantrel"_s)), mode_t(0700));
        QCOMPARE(modeOf(path), mode_t(0600));
    }
    defaults.setValue(UserDefaults::rateKey(u"1.0"_s), true);

    QCOMPARE(modeOf(path), mode_t(0600));
    QCOMPARE(UserDefaults(path).value(u"com.quorvex.rate_1.0"_s).toBool(), true);
}

void TestUserDefaults::changedFollowsOwnWritesAndOtherProcesses()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"vantrel.conf"_s);
    UserDefaults defaults(path);
    QSignalSpy changed(&defaults, &UserDefaults::changed);

    defaults.setValue(UserDefaults::mainWindowShortcutKey, u"Ctrl+Alt+V"_s);
    QCOMPARE(changed.count(), 1);

    QVERIFY(FileWrites::replace(path, "[General]\nMainWindowShortcut=Meta+V\n"));
    QTRY_VERIFY(changed.count() > 1);
    QCOMPARE(defaults.value(UserDefaults::mainWindowShortcutKey).toString(), u"Meta+V"_s);
}

QTEST_GUILESS_MAIN(TestUserDefaults)
#include "tst_userdefaults.moc"
