// A yes-or-no setting, here whether previews load web pages: off unless the user chose it, kept
// in the user defaults, and followed when the file changes by hand.
#include "FileWrites.h"
#include "storage/BooleanSetting.h"
#include "storage/UserDefaults.h"

#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestBooleanSetting : public QObject
{
    Q_OBJECT

private slots:
    void pagesLoadOnlyOnRequestUntilTheUserChoosesOtherwise_data();
    void pagesLoadOnlyOnRequestUntilTheUserChoosesOtherwise();
    void aChoiceIsStoredAtOnceAndToldOnce();
    void aHandEditOfTheFileIsFollowed();
};

void TestBooleanSetting::pagesLoadOnlyOnRequestUntilTheUserChoosesOtherwise_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("loads");
    QTest::newRow("no file") << QByteArray() << false;
    QTest::newRow("other keys only") << "[General]\nMainWindowShortcut=Ctrl+Alt+V\n"_ba << false;
    QTest::newRow("chosen") << "[General]\nLoadWebPagesInPreviews=true\n"_ba << true;
    QTest::newRow("turned off again") << "[General]\nLoadWebPagesInPreviews=false\n"_ba << false;
    QTest::newRow("not a yes or no") << "[General]\nLoadWebPagesInPreviews=\n"_ba << false;
}

void TestBooleanSetting::pagesLoadOnlyOnRequestUntilTheUserChoosesOtherwise()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, loads);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"vantrel.conf"_s);
    if (!file.isEmpty())
        QVERIFY(FileWrites::replace(path, file));
    QCOMPARE(BooleanSetting(path, UserDefaults::loadWebPagesKey).value(), loads);
}

void TestBooleanSetting::aChoiceIsStoredAtOnceAndToldOnce()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"vantrel.conf"_s);
    BooleanSetting setting(path, UserDefaults::loadWebPagesKey);
    QSignalSpy told(&setting, &BooleanSetting::changed);

    setting.setValue(true);
    QVERIFY(setting.value());
    QCOMPARE(told.count(), 1);
    QCOMPARE(QSettings(path, QSettings::IniFormat).value(UserDefaults::loadWebPagesKey).toBool(),
             true);
    // The same choice again changes nothing.
    setting.setValue(true);
    QCOMPARE(told.count(), 1);
}

void TestBooleanSetting::aHandEditOfTheFileIsFollowed()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"vantrel.conf"_s);
    BooleanSetting setting(path, UserDefaults::loadWebPagesKey);
    QSignalSpy told(&setting, &BooleanSetting::changed);

    QVERIFY(FileWrites::replace(path, "[General]\nLoadWebPagesInPreviews=true\n"));
    QTRY_COMPARE(told.count(), 1);
    QCOMPARE(told.at(0).at(0).toBool(), true);
    QVERIFY(setting.value());
}

QTEST_GUILESS_MAIN(TestBooleanSetting)
#include "tst_booleansetting.moc"
