#include "VantrelSession.h"

#include <QDir>
#include <QFile>
#include <QtTest>

namespace {
constexpr int recordTimeoutMs = 10'000;

QStringList keptFiles(const VantrelSession& session)
{
    return QDir(session.dataFolder())
        .entryList({QStringLiteral("db.sqlite3.damaged-*")}, QDir::Files);
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

// The history file as the running program meets it at start.
class TestHistoryE2E : public QObject
{
    Q_OBJECT

private slots:
    void anUnreadableOrEmptyHistoryStillRecords_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("keptAside");
        QTest::newRow("no database") << QByteArray("garbage, not SQLite\n").repeated(300) << true;
        QTest::newRow("empty file") << QByteArray() << false;
    }

    void anUnreadableOrEmptyHistoryStillRecords()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, keptAside);
        VantrelSession session;
        QVERIFY(QDir().mkpath(session.dataFolder()));
        QFile file(session.dbPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
        file.close();

        QVERIFY(session.start());
        QVERIFY(session.copy({QStringLiteral("text/plain=after the damage")}));
        QTRY_COMPARE_WITH_TIMEOUT(session.keywords(),
                                  QStringList{QStringLiteral("after the damage")}, recordTimeoutMs);
        const QStringList kept = keptFiles(session);
        QCOMPARE(kept.size(), keptAside ? 1 : 0);
        if (keptAside) {
            const QString keptPath = session.dataFolder() + u'/' + kept.first();
            QCOMPARE(readAll(keptPath), bytes);
            QVERIFY(session.output().contains(QStringLiteral("kept it as ") + keptPath));
        }

        // The new history serves the next start as it is: nothing more is set aside.
        QVERIFY(session.stop());
        QVERIFY(session.start());
        QCOMPARE(keptFiles(session).size(), kept.size());
        QVERIFY(session.copy({QStringLiteral("text/plain=next start")}));
        QTRY_COMPARE_WITH_TIMEOUT(session.keywords().size(), 2, recordTimeoutMs);
    }
};

QTEST_MAIN(TestHistoryE2E)
#include "tst_history_e2e.moc"
