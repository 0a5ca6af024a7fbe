#include "support/SqliteDatabase.h"
#include "support/SqliteStatement.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
const QStringList kKeywords{u"ABC"_s,     u"cab"_s,   u"a b"_s,
                            u"I don't"_s, u"\"q\""_s, u"\u00e9t\u00e9"_s};
} // namespace

class TestSqlite : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void textIsStoredExactly_data();
    void textIsStoredExactly();
    void nullAndEmptyTextStayApart();
    void likeMatchesBoundTextAnywhereIgnoringAsciiCase_data();
    void likeMatchesBoundTextAnywhereIgnoringAsciiCase();
    void failedStatementReportsFailure_data();
    void failedStatementReportsFailure();
    void databaseThatCannotBeOpenedFailsEveryStatement();
    void templateDatabaseHasTheHistoryTable();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<SqliteDatabase> m_db;
};

void TestSqlite::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_db = std::make_unique<SqliteDatabase>();
    QVERIFY(m_db->open(m_dir->filePath(u"test.sqlite3"_s)));
    QVERIFY(m_db->execute(u"CREATE TABLE t (k TEXT, n INTEGER, r REAL)"_s));
}

void TestSqlite::cleanup()
{
    m_db.reset();
    m_dir.reset();
}

void TestSqlite::textIsStoredExactly_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("apostrophe") << "don't"_ba;
    QTest::newRow("double quotes") << "say \"hi\""_ba;
    QTest::newRow("wildcards") << "100% a_b"_ba;
    QTest::newRow("NUL bytes") << QByteArray("a\0b\0", 4);
    QTest::newRow("invalid UTF-8") << "\xff\xfe\x80 \xc3"_ba;
    QTest::newRow("multi-byte") << "na\xc3\xafve \xe2\x80\x94 \xf0\x9f\x93\x8b"_ba;
    QTest::newRow("separator and SQL") << "a|b'); DROP TABLE t; --"_ba;
}

void TestSqlite::textIsStoredExactly()
{
    QFETCH(QByteArray, bytes);
    const QString text = QString::fromUtf8(bytes);
    SqliteStatement insert(*m_db, u"INSERT INTO t (k, n) VALUES (?, 1), (?, 2)"_s);
    QVERIFY(insert.bindText(1, bytes).bind(2, text).exec());

    SqliteStatement select(*m_db, u"SELECT k, typeof(k) AS kind, n FROM t ORDER BY n"_s);
    QVERIFY(select.step());
    QCOMPARE(select.bytes("k"), bytes);
    QCOMPARE(select.text("kind"), u"text"_s); // TEXT, so LIKE still applies
    QVERIFY(select.step());
    QCOMPARE(select.text("k"), text);
    QVERIFY(!select.step());
    QVERIFY(!select.failed());
}

void TestSqlite::nullAndEmptyTextStayApart()
{
    SqliteStatement insert(*m_db, u"INSERT INTO t (k, n) VALUES (?, ?)"_s);
    QVERIFY(insert.bind(1, QString()).bind(2, qint64(1)).exec());
    insert.reset();
    QVERIFY(insert.bind(1, u""_s).bind(2, qint64(2)).exec());

    SqliteStatement select(*m_db, u"SELECT * FROM t ORDER BY n"_s);
    QVERIFY(select.step());
    QVERIFY(select.isNull("k"));
    QVERIFY(select.text("k").isNull());
    QVERIFY(select.isNull("r"));
    QVERIFY(select.isNull("no_such_column"));
    QVERIFY(select.step());
    QVERIFY(!select.isNull("k"));
    QVERIFY(!select.text("k").isNull());
    QVERIFY(select.text("k").isEmpty());
    QCOMPARE(select.integer("n"), 2);
}

void TestSqlite::likeMatchesBoundTextAnywhereIgnoringAsciiCase_data()
{
    QTest::addColumn<QString>("search");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("anywhere, any case") << u"ab"_s << QStringList{u"ABC"_s, u"cab"_s};
    QTest::newRow("underscore is a wildcard") << u"a_c"_s << QStringList{u"ABC"_s};
    QTest::newRow("percent is a wildcard") << u"%"_s << kKeywords;
    QTest::newRow("apostrophe") << u"don't"_s << QStringList{u"I don't"_s};
    QTest::newRow("double quote") << u"\"Q"_s << QStringList{u"\"q\""_s};
    QTest::newRow("case folds ASCII only") << u"\u00c9T"_s << QStringList();
    QTest::newRow("non-ASCII same case") << u"\u00e9t"_s << QStringList{u"\u00e9t\u00e9"_s};
}

void TestSqlite::likeMatchesBoundTextAnywhereIgnoringAsciiCase()
{
    QFETCH(QString, search);
    QFETCH(QStringList, expected);
    SqliteStatement insert(*m_db, u"INSERT INTO t (k, n) VALUES (?, ?)"_s);
    for (qsizetype i = 0; i < kKeywords.size(); ++i) {
        insert.reset();
        QVERIFY(insert.bind(1, kKeywords[i]).bind(2, qint64(i)).exec());
    }
    SqliteStatement select(*m_db, u"SELECT k FROM t WHERE k LIKE '%' || ? || '%' ORDER BY n"_s);
    select.bind(1, search);
    QStringList found;
    while (select.step())
        found << select.text("k");
    QVERIFY(!select.failed());
    QCOMPARE(found, expected);
}

void TestSqlite::failedStatementReportsFailure_data()
{
    QTest::addColumn<QString>("sql");
    QTest::newRow("syntax error") << u"SELEC k FROM t"_s;
    QTest::newRow("missing table") << u"SELECT * FROM pb_items"_s;
    QTest::newRow("constraint") << u"INSERT INTO u (k) VALUES ('x')"_s;
}

void TestSqlite::failedStatementReportsFailure()
{
    QFETCH(QString, sql);
    QVERIFY(m_db->execute(u"CREATE TABLE u (k TEXT UNIQUE); INSERT INTO u (k) VALUES ('x')"_s));
    SqliteStatement statement(*m_db, sql);
    QVERIFY(!statement.step());
    QVERIFY(statement.failed());
    QVERIFY(!statement.errorText().isEmpty());
    QVERIFY(!statement.exec());
}

void TestSqlite::databaseThatCannotBeOpenedFailsEveryStatement()
{
    SqliteDatabase db;
    QVERIFY(!db.open(m_dir->filePath(u"missing/folder/db.sqlite3"_s)));
    QVERIFY(!db.isOpen());
    QVERIFY(!db.errorText().isEmpty());
    QVERIFY(!db.execute(u"SELECT 1"_s));
    SqliteStatement statement(db, u"SELECT 1 AS one"_s);
    QVERIFY(statement.failed());
    QVERIFY(!statement.step());
    QVERIFY(statement.isNull("one"));
}

void TestSqlite::templateDatabaseHasTheHistoryTable()
{
    const QString path = m_dir->filePath(u"db.sqlite3"_s);
    QVERIFY(QFile::copy(u":/db/db.sqlite3"_s, path));
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
    SqliteDatabase db;
    QVERIFY(db.open(path));

    SqliteStatement columns(db, u"SELECT name FROM pragma_table_info('pb_items') ORDER BY cid"_s);
    QStringList names;
    while (columns.step())
        names << columns.text("name");
    QCOMPARE(names, (QStringList{u"uuid"_s, u"date"_s, u"title"_s, u"type"_s, u"pb_type"_s,
                                 u"data"_s, u"app"_s, u"marked"_s, u"keyword"_s}));

    SqliteStatement insert(db, u"INSERT INTO pb_items (uuid, date) VALUES ('A', 10), ('A', 2)"_s);
    QVERIFY(!insert.exec()); // uuid is unique

    SqliteStatement plan(db, u"EXPLAIN QUERY PLAN SELECT * FROM pb_items ORDER BY date DESC"_s);
    QVERIFY(plan.step());
    QVERIFY2(plan.text("detail").contains(u"INDEX"_s), qPrintable(plan.text("detail")));

    SqliteStatement mode(db, u"PRAGMA journal_mode"_s);
    QVERIFY(mode.step());
    QCOMPARE(mode.text("journal_mode"), u"wal"_s);
}

QTEST_GUILESS_MAIN(TestSqlite)
#include "tst_sqlite.moc"
