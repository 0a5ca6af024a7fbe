#include "CountingReview.h"
#include "shell/ReviewPrompt.h"
#include "storage/UserDefaults.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QString version = QStringLiteral("2.4.1");

// Lets a prompt with no delay run what it scheduled.
void appear(ReviewPrompt& prompt, int times)
{
    for (int i = 0; i < times; ++i)
        prompt.mainWindowAppeared();
    QCoreApplication::processEvents();
}
} // namespace

class TestReviewPrompt : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_folder = std::make_unique<QTemporaryDir>();
        m_defaults = m_folder->filePath(QStringLiteral("vantrel/vantrel.conf"));
    }

    void onlyTheFifthAppearanceAsks_data()
    {
        QTest::addColumn<int>("appearances");
        QTest::addColumn<int>("requests");

        QTest::newRow("four appearances") << 4 << 0;
        QTest::newRow("five appearances") << 5 << 1;
        QTest::newRow("twelve appearances") << 12 << 1;
    }

    void onlyTheFifthAppearanceAsks()
    {
        QFETCH(int, appearances);
        QFETCH(int, requests);

        CountingReview review;
        UserDefaults promptDefaults(m_defaults);
        ReviewPrompt prompt(review, promptDefaults, version, 0);
        appear(prompt, appearances);
        QCOMPARE(review.requests, requests);
        QCOMPARE(QSettings(m_defaults, QSettings::IniFormat)
                     .value(QStringLiteral("com.quorvex.rate_2.4.1"))
                     .toBool(),
                 requests > 0);
    }

    void askingWaitsForTheDelay()
    {
        CountingReview review;
        UserDefaults promptDefaults(m_defaults);
        ReviewPrompt prompt(review, promptDefaults, version, 300);
        QElapsedTimer elapsed;
        elapsed.start();
        appear(prompt, 5);
        QCOMPARE(review.requests, 0);
        QTRY_COMPARE(review.requests, 1);
        QVERIFY(elapsed.elapsed() >= 300);
    }

    void aVersionIsAskedOnceAcrossRuns_data()
    {
        QTest::addColumn<QString>("nextVersion");
        QTest::addColumn<int>("nextRequests");

        QTest::newRow("same version") << version << 0;
        QTest::newRow("new version") << QStringLiteral("2.5.0") << 1;
    }

    void aVersionIsAskedOnceAcrossRuns()
    {
        QFETCH(QString, nextVersion);
        QFETCH(int, nextRequests);

        CountingReview firstRun;
        {
            UserDefaults firstDefaults(m_defaults);
            ReviewPrompt first(firstRun, firstDefaults, version, 0);
            appear(first, 5);
        }
        QCOMPARE(firstRun.requests, 1);

        CountingReview nextRun;
        UserDefaults nextDefaults(m_defaults);
        ReviewPrompt next(nextRun, nextDefaults, nextVersion, 0);
        appear(next, 4);
        QCOMPARE(nextRun.requests, 0);
        appear(next, 1);
        QCOMPARE(nextRun.requests, nextRequests);
    }

private:
    std::unique_ptr<QTemporaryDir> m_folder;
    QString m_defaults;
};

QTEST_MAIN(TestReviewPrompt)
#include "tst_reviewprompt.moc"
