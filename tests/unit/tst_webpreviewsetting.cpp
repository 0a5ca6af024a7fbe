// Whether previews load web pages: off unless the user chose it, kept in the user defaults, and
// followed when the file changes by hand.
#include "FileWrites.h"
#include "storage/UserDefaults.h"
#include "storage/WebPreviewSetting.h"

#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestWebPreviewSetting : public QObject
{
    Q_OBJECT

private slots:
    void pagesLoadOnlyOnRequestUntilTheUserChoosesOtherwise_data();
    void pagesLoadOnlyOnRequestUntilTheUserChoosesOtherwise();
    void aChoiceIsStoredAtOnceAndToldOnce();
    void aHandEditOfTheFileIsFollowed();
};

void TestWebPreviewSetting::pagesLoadOnlyOnRequestUntilTheUserChoosesOtherwise_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("loads");
    QTest::newRow("no file") << QByteArray() << false;
    QTest::newRow("other keys only") << "[General]\nMainWindowShortcut=Ctrl+Alt+V\n"_ba << false;
    QTest::newRow("chosen") << "[General]\nLoadWebPagesInPreviews=true\n"_ba << true;
    QTest::newRow("turned off again") << "[General]\nLoadWebPagesInPreviews=false\n"_ba << false;
    QTest::newRow("not a yes or no") << "[General]\nLoadWebPagesInPreviews=\n"_ba << false;
}

void TestWebPreviewSetting::pagesLoadOnlyOnRequestUntilTheUserChoosesOtherwise()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, loads);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"vantrel.conf"_s);
    if (!file.isEmpty())
        QVERIFY(FileWrites::replace(path, file));
    QCOMPARE(WebPreviewSetting(path).loadsPages(), loads);
}

void TestWebPreviewSetting::aChoiceIsStoredAtOnceAndToldOnce()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"vantrel.conf"_s);
    WebPreviewSetting setting(path);
    QSignalSpy told(&setting, &WebPreviewSetting::loadsPagesChanged);

    setting.setLoadsPages(true);
    QVERIFY(setting.loadsPages());
    QCOMPARE(told.count(), 1);
    QCOMPARE(QSettings(path, QSettings::IniFormat).value(UserDefaults::loadWebPagesKey).toBool(),
             true);
    // The same choice again changes nothing.
    setting.setLoadsPages(true);
    QCOMPARE(told.count(), 1);
}

void TestWebPreviewSetting::aHandEditOfTheFileIsFollowed()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"vantrel.conf"_s);
    WebPreviewSetting setting(path);
    QSignalSpy told(&setting, &WebPreviewSetting::loadsPagesChanged);

    QVERIFY(FileWrites::replace(path, "[General]\nLoadWebPagesInPreviews=true\n"));
    QTRY_COMPARE(told.count(), 1);
    QCOMPARE(told.at(0).at(0).toBool(), true);
    QVERIFY(setting.loadsPages());
}

QTEST_GUILESS_MAIN(TestWebPreviewSetting)
#include "tst_webpreviewsetting.moc"
