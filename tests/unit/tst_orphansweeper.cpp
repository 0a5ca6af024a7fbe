#include "FixedClock.h"
#include "StoreFixture.h"
#include "item/PBTextContent.h"
#include "storage/OrphanSweeper.h"

#include <QDir>
#include <QSignalSpy>
#include <QUuid>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {
// A file last changed `age` seconds ago.
bool writeAged(const QString& path, int age)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write("payload") == 7 && file.flush() &&
           file.setFileTime(QDateTime::currentDateTime().addSecs(-age),
                            QFileDevice::FileModificationTime);
}

QStringList sorted(QStringList names)
{
    names.sort();
    return names;
}
} // namespace

class TestOrphanSweeper : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_store = std::make_unique<StoreFixture>(); }
    void cleanup() { m_store.reset(); }

    // Whatever an earlier run left goes, however recent; what this run writes stays.
    void onlyFilesOfNoRowFromEarlierRunsAreRemoved_data()
    {
        QTest::addColumn<QString>("folderName");
        QTest::newRow("plain folder") << u"data"_s;
        QTest::newRow("folder name holding |") << u"da|ta"_s;
    }

    void onlyFilesOfNoRowFromEarlierRunsAreRemoved()
    {
        QFETCH(QString, folderName);
        const QString folder = m_store->folder.filePath(folderName);
        QVERIFY(QDir().mkpath(folder));
        const QString stored = QUuid::createUuid().toString(QUuid::WithoutBraces);
        const QString orphan = QUuid::createUuid().toString(QUuid::WithoutBraces);
        const QString writing = QUuid::createUuid().toString(QUuid::WithoutBraces);
        const QStringList kept{stored + u".txt"_s, stored + u" 2.data"_s, u"notes.txt"_s,
                               writing + u".txt"_s, u"."_s + writing + u" 2.data.a1B2c3"_s};
        const QStringList orphans{orphan + u".html"_s, orphan + u" 2.data"_s, stored + u" 3.data"_s,
                                  u"."_s + orphan + u".txt.Zz9Yy8"_s};
        for (const QString& name : orphans + kept) {
            // A capture of this run, which began 30 seconds ago, is writing right now: its files
            // are there, not yet its row. An earlier run ended a second before this one began.
            QVERIFY(writeAged(folder + u'/' + name, name.contains(writing) ? 0 : 31));
        }
        QVERIFY(insertRow(stored, {folder + u'/' + kept[0], folder + u'/' + kept[1]}));

        QCOMPARE(sweep(folder, 30), orphans.size());
        QCOMPARE(sorted(QDir(folder).entryList(QDir::Files | QDir::Hidden)), sorted(kept));
    }

    // A history made anew beside a damaged one kept aside has no row: every file looks like an
    // orphan, and is kept.
    void anEmptyHistoryKeepsEveryFile()
    {
        const QString folder = m_store->folder.filePath(u"data"_s);
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(writeAged(folder + u"/A7C3AB64-2D10-4E6C-9C51-5E4C0E3D4A11.txt"_s, 3600));
        QCOMPARE(sweep(folder, 0), -1);
        QCOMPARE(QDir(folder).entryList(QDir::Files).size(), 1);
    }

private:
    bool insertRow(const QString& uuid, const QStringList& paths)
    {
        auto item = PBContent::createInstance<PBTextContent>();
        item->setUuid(uuid);
        item->setDataArray({"a", "b"});
        item->setDataPathArray(paths);
        std::optional<bool> written;
        m_store->manager->insertPbContent(item, [&written](bool ok) { written = ok; });
        return QTest::qWaitFor([&written] { return written.has_value(); }) && *written;
    }

    // A sweep by a run that began `runAge` seconds ago.
    int sweep(const QString& folder, int runAge)
    {
        const FixedClock runStart(Clock::system().now() - runAge);
        OrphanSweeper sweeper(folder, *m_store->manager, runStart);
        QSignalSpy finished(&sweeper, &OrphanSweeper::finished);
        sweeper.start();
        return finished.wait(10'000) ? finished.first().first().toInt() : -2;
    }

    std::unique_ptr<StoreFixture> m_store;
};

QTEST_GUILESS_MAIN(TestOrphanSweeper)
#include "tst_orphansweeper.moc"
