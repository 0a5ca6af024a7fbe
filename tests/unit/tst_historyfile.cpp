#include "StoreFixture.h"
#include "StoredRows.h"
#include "item/PBTextContent.h"
#include "storage/HistoryFile.h"
#include "support/SqliteDatabase.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QtTest>

namespace {
QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

// A database of another program: readable by SQLite, but no history.
QByteArray foreignDatabase(const QString& scratch)
{
    {
        SqliteDatabase db;
        if (!db.open(scratch) || !db.execute(QStringLiteral("CREATE TABLE notes (text TEXT)")))
            return {};
    }
    return readAll(scratch);
}

// The template with its header's magic text broken: SQLite refuses it as "not a database".
QByteArray brokenHeader()
{
    QByteArray bytes = readAll(QStringLiteral(":/db/db.sqlite3"));
    bytes.replace(0, 6, "NOTSQL");
    return bytes;
}

bool recordsAndFinds(DBManager& manager, const QString& keyword)
{
    auto item = PBContent::createInstance<PBTextContent>();
    item->date = FixedClock().time;
    item->setKeyword(keyword);
    item->setPasteboardTypes({QStringLiteral("public.utf8-plain-text")});
    item->setDataArray({keyword.toUtf8()});
    item->setDataPathArray(QStringList{QStringLiteral("/nowhere/") + item->uuid()});
    std::optional<bool> written;
    manager.insertPbContent(item, [&written](bool ok) { written = ok; });
    if (!QTest::qWaitFor([&written] { return written.has_value(); }) || !*written)
        return false;
    std::optional<qsizetype> found;
    manager.searchPbItems(keyword, &manager,
                          [&found](const QList<PBContentPtr>& items) { found = items.size(); });
    return QTest::qWaitFor([&found] { return found.has_value(); }) && *found == 1;
}

QStringList keptFiles(const QString& folder)
{
    return QDir(folder).entryList({QStringLiteral("db.sqlite3.damaged-*")}, QDir::Files);
}
} // namespace

class TestHistoryFile : public QObject
{
    Q_OBJECT

private slots:
    void anUnreadableHistoryIsKeptAsideAndRecordingGoesOn_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("text, no database") << QByteArray("not a database\n").repeated(400);
        QTest::newRow("broken header") << brokenHeader();
        QTest::newRow("another program's database")
            << foreignDatabase(m_scratch.filePath(QStringLiteral("foreign.sqlite3")));
    }

    void anUnreadableHistoryIsKeptAsideAndRecordingGoesOn()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(!bytes.isEmpty());
        StoreFixture store;
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("db.sqlite3"));
        writeAll(path, bytes);

        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("kept it as")));
        const auto manager = store.makeManager(folder.path());
        QVERIFY(manager->isOpen());
        const QString expectedName = HistoryFile::keptName(
            path, QDateTime::fromMSecsSinceEpoch(qint64(store.clock.time * 1000)));
        QCOMPARE(manager->keptDamagedFile(), expectedName);
        QCOMPARE(readAll(expectedName), bytes);
        QVERIFY(recordsAndFinds(*manager, QStringLiteral("recorded after")));
        QCOMPARE(StoredRows::count(path), 1);
    }

    void anEmptyHistoryCountsAsMissing()
    {
        StoreFixture store;
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("db.sqlite3"));
        writeAll(path, QByteArray());

        const auto manager = store.makeManager(folder.path());
        QVERIFY(manager->isOpen());
        QVERIFY(manager->keptDamagedFile().isEmpty());
        QVERIFY(keptFiles(folder.path()).isEmpty());
        QVERIFY(recordsAndFinds(*manager, QStringLiteral("recorded after")));
        QCOMPARE(StoredRows::count(path), 1);
    }

    void aSecondDamageOnTheSameDateKeepsBothFiles()
    {
        StoreFixture store;
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("db.sqlite3"));
        for (const QByteArray& bytes : {QByteArray("first damage"), QByteArray("second damage")}) {
            writeAll(path, bytes.repeated(100));
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("kept it as")));
            QVERIFY(store.makeManager(folder.path())->isOpen());
            QFile::remove(path);
        }
        const QStringList kept = keptFiles(folder.path());
        QCOMPARE(kept.size(), 2);
        QCOMPARE(readAll(folder.filePath(kept[0])), QByteArray("first damage").repeated(100));
        QCOMPARE(readAll(folder.filePath(kept[1])), QByteArray("second damage").repeated(100));
    }

private:
    QTemporaryDir m_scratch;
};

QTEST_GUILESS_MAIN(TestHistoryFile)
#include "tst_historyfile.moc"
