#include "FixedClock.h"
#include "shell/TimeUpdater.h"
#include "shell/Translations.h"
#include "support/StringAdditions.h"

#include <QDateTime>
#include <QHideEvent>
#include <QShowEvent>
#include <QSignalSpy>
#include <QtTest>

namespace {
double at(int year, int month, int day, int hour, int minute, int second = 0)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second)).toMSecsSinceEpoch() /
           1000.0;
}
} // namespace

class TestRelativeTime : public QObject
{
    Q_OBJECT

private slots:
    // The English plural forms come from a translation too.
    void initTestCase() { Translations::install(*QCoreApplication::instance(), {}); }

    void relativeTimeComparesClockFields_data()
    {
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<double>("date");
        QTest::addColumn<QString>("expected");
        const QDateTime elevenOClock(QDate(2026, 6, 15), QTime(11, 0));
        QTest::newRow("10:59 at 11:00")
            << elevenOClock << at(2026, 6, 15, 10, 59) << QStringLiteral("1 hour ago");
        QTest::newRow("10:00 at 11:00")
            << elevenOClock << at(2026, 6, 15, 10, 0) << QStringLiteral("1 hour ago");
        QTest::newRow("10:00 at 10:59")
            << QDateTime(QDate(2026, 6, 15), QTime(10, 59)) << at(2026, 6, 15, 10, 0)
            << QStringLiteral("59 minutes ago");
        QTest::newRow("08:30 at 11:00")
            << elevenOClock << at(2026, 6, 15, 8, 30) << QStringLiteral("3 hours ago");
        QTest::newRow("just taken")
            << elevenOClock << at(2026, 6, 15, 11, 0) << QStringLiteral("1 minute ago");
        QTest::newRow("one minute") << QDateTime(QDate(2026, 6, 15), QTime(11, 1, 30))
                                    << at(2026, 6, 15, 11, 0) << QStringLiteral("1 minute ago");
        QTest::newRow("90 s over two minute fields")
            << QDateTime(QDate(2026, 6, 15), QTime(11, 2, 10)) << at(2026, 6, 15, 11, 0, 40)
            << QStringLiteral("2 minutes ago");
        QTest::newRow("future in the same hour")
            << elevenOClock << at(2026, 6, 15, 11, 0, 50) << QStringLiteral("1 minute ago");
        QTest::newRow("future later today")
            << elevenOClock << at(2026, 6, 15, 14, 0) << QStringLiteral("1 minute ago");
        QTest::newRow("yesterday 23:59 at 00:00")
            << QDateTime(QDate(2026, 6, 15), QTime(0, 0)) << at(2026, 6, 14, 23, 59)
            << QStringLiteral("6-14  23:59");
        QTest::newRow("another month")
            << elevenOClock << at(2026, 3, 7, 9, 5) << QStringLiteral("3-7  09:05");
        QTest::newRow("another year")
            << elevenOClock << at(2019, 3, 7, 9, 5) << QStringLiteral("2019-3-7  09:05");
        QTest::newRow("new year's eve at midnight")
            << QDateTime(QDate(2027, 1, 1), QTime(0, 0)) << at(2026, 12, 31, 23, 59)
            << QStringLiteral("2026-12-31  23:59");
    }

    void relativeTimeComparesClockFields()
    {
        QFETCH(QDateTime, now);
        QFETCH(double, date);
        QFETCH(QString, expected);
        QCOMPARE(
            StringAdditions::stringWithDate(date, FixedClock(now.toMSecsSinceEpoch() / 1000.0)),
            expected);
    }

    void clockTicksEveryIntervalUntilStopped()
    {
        constexpr int interval = 50;
        TimeUpdater updater(interval);
        QObject viewer;
        updater.addViewer(&viewer, true);
        QSignalSpy ticks(&updater, &TimeUpdater::updateTime);
        updater.start();
        updater.start();
        QVERIFY(updater.isRunning());
        QTRY_VERIFY(ticks.size() >= 3);
        updater.stop();
        QVERIFY(!updater.isRunning());
        const qsizetype stoppedAt = ticks.size();
        QVERIFY(!ticks.wait(4 * interval));
        QCOMPARE(ticks.size(), stoppedAt);
    }

    // Nothing ticks while no viewer is shown; the first one shown gets a tick at once.
    void clockTicksOnlyWhileAViewerIsShown()
    {
        TimeUpdater updater(50);
        QObject first;
        QObject second;
        updater.addViewer(&first, false);
        updater.addViewer(&second, false);
        QSignalSpy ticks(&updater, &TimeUpdater::updateTime);
        updater.start();
        QVERIFY(updater.isRunning());
        QVERIFY(!updater.isTicking());

        QShowEvent show;
        QCoreApplication::sendEvent(&first, &show);
        QCOMPARE(ticks.size(), 1);
        QVERIFY(updater.isTicking());
        QCoreApplication::sendEvent(&second, &show);
        QCOMPARE(ticks.size(), 1);

        QHideEvent hide;
        QCoreApplication::sendEvent(&first, &hide);
        QVERIFY(updater.isTicking());
        QCoreApplication::sendEvent(&second, &hide);
        QVERIFY(!updater.isTicking());

        // A viewer that goes while shown no longer keeps the clock going.
        {
            QObject shortLived;
            updater.addViewer(&shortLived, true);
            QVERIFY(updater.isTicking());
        }
        QVERIFY(!updater.isTicking());
    }
};

QTEST_GUILESS_MAIN(TestRelativeTime)
#include "tst_relativetime.moc"
