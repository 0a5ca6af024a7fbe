#include "VantrelSession.h"
#include "X11Windows.h"

#include <QtTest>

using namespace Qt::StringLiterals;

namespace {
constexpr int timeoutMs = 10'000;
}

// The real program on desktops of other languages: it reads the language from the environment
// it is started in.
class TestLanguageE2E : public QObject
{
    Q_OBJECT

private slots:
    void windowsSpeakTheDesktopsLanguage_data()
    {
        QTest::addColumn<QByteArray>("language");
        QTest::addColumn<QString>("preferences");
        QTest::newRow("German") << "de"_ba << u"Einstellungen"_s;
        QTest::newRow("Simplified Chinese") << "zh_CN"_ba << u"偏好设置"_s;
        QTest::newRow("traditional Chinese, then German") << "zh_TW:de"_ba << u"Einstellungen"_s;
        QTest::newRow("French: English") << "fr"_ba << u"Preferences"_s;
    }

    void windowsSpeakTheDesktopsLanguage()
    {
        QFETCH(QByteArray, language);
        QFETCH(QString, preferences);
        qputenv("LANGUAGE", language);
        VantrelSession session;
        QVERIFY(session.start({u"--preferences"_s}));
        QTRY_VERIFY_WITH_TIMEOUT(windowShown(preferences), timeoutMs);
        QVERIFY(session.stop());
    }

    void cleanupTestCase() { qunsetenv("LANGUAGE"); }
};

QTEST_MAIN(TestLanguageE2E)
#include "tst_language_e2e.moc"
