// Search through the trigram index, each figure beside the raw LIKE query on the same table:
//   search at 100k and 1M rows for two 3-letter keywords (one with a k), a 4-letter, a 10-letter
//   and a 1-letter keyword and one with % and _ (the whole path a window's list takes: the
//   statement, and every result on the main thread as the lists' row) [the raw LIKE query, every
//   column of every row found]
//   and the first screenful of each streamed [the raw LIKE's first 64 rows]; for three letters the
//   index finds alone, also the statement a history whose rowids are not in date order takes
//   the database size per row with the index and without it (a history from before the index)
#include "HistoryFixture.h"
#include "StoreFixture.h"
#include "storage/DBManager.h"
#include "storage/SearchIndex.h"
#include "support/SerialQueue.h"
#include "support/SqliteDatabase.h"
#include "support/SqliteStatement.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QRandomGenerator>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <sqlite3.h>

namespace {
const char* const syllables[] = {"ka", "lo",  "mi", "ne",  "ru",  "sa",  "to",  "vi",
                                 "an", "el",  "or", "ist", "ber", "gen", "lin", "mar",
                                 "po", "dex", "qu", "zu",  "ha",  "we",  "jo",  "fi"};

// A vocabulary of 5000 made-up words, so that a keyword of a few letters matches a small part
// of the history, as real text does, unlike a handful of words repeated.
QList<QByteArray> vocabulary(QRandomGenerator& random)
{
    QList<QByteArray> words;
    for (int i = 0; i < 5000; ++i) {
        QByteArray word;
        for (int s = 2 + random.bounded(3); s > 0; --s)
            word += syllables[random.bounded(int(std::size(syllables)))];
        words.append(word);
    }
    return words;
}

// Sentences of 3 to 16 words; one row in 200 also carries an order number "INV-nnnnn", and
// another one in 200 an article number "SKU-nnnnn".
bool fill(const QString& path, int rows, bool withIndex)
{
    QFile::remove(path);
    if (!QFile::copy(QStringLiteral(":/db/db.sqlite3"), path) ||
        !QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner))
        return false;
    sqlite3* db = nullptr;
    if (sqlite3_open(path.toUtf8().constData(), &db) != SQLITE_OK)
        return false;
    if (!withIndex)
        sqlite3_exec(db,
                     "DROP TRIGGER pb_search_insert; DROP TRIGGER pb_search_delete; DROP TRIGGER "
                     "pb_search_update; DROP TABLE pb_search; DROP TABLE pb_search_backlog",
                     nullptr, nullptr, nullptr);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO pb_items (uuid, date, title, type, pb_type, data, app, marked, "
                       "keyword) VALUES(?, ?, '', 0, 'public.html|public.utf8-plain-text', ?, "
                       "'org.example.App', 0, ?)",
                       -1, &insert, nullptr);
    QRandomGenerator random(7);
    const QList<QByteArray> words = vocabulary(random);
    for (int i = 0; i < rows; ++i) {
        const QByteArray uuid = QByteArray::number(i).rightJustified(36, '0');
        const QByteArray data = "/home/user/.local/share/vantrel/data/" + uuid + ".html|" +
                                "/home/user/.local/share/vantrel/data/" + uuid + " 2.data";
        QByteArray keyword;
        for (int w = 3 + random.bounded(14); w > 0; --w)
            keyword += words[random.bounded(int(words.size()))] + ' ';
        if (i % 200 == 0)
            keyword += "INV-" + QByteArray::number(random.bounded(100000));
        else if (i % 200 == 100)
            keyword += "SKU-" + QByteArray::number(random.bounded(100000));
        sqlite3_bind_text(insert, 1, uuid.constData(), int(uuid.size()), SQLITE_TRANSIENT);
        sqlite3_bind_double(insert, 2, 1.7e9 + i);
        sqlite3_bind_text(insert, 3, data.constData(), int(data.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 4, keyword.constData(), int(keyword.size()), SQLITE_TRANSIENT);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    const bool committed = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_exec(db, "PRAGMA wal_checkpoint(TRUNCATE)", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return committed;
}

// The raw LIKE query, every column, newest first, on a connection of its own.
sqlite3_stmt* rawLikeStatement(const QString& path, const QByteArray& text, sqlite3** db)
{
    sqlite3_open_v2(path.toUtf8().constData(), db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(
        *db, "SELECT * FROM pb_items WHERE keyword LIKE '%' || ? || '%' ORDER BY date DESC", -1,
        &statement, nullptr);
    sqlite3_bind_text(statement, 1, text.constData(), int(text.size()), SQLITE_TRANSIENT);
    return statement;
}

// The raw LIKE query, stepping through every column of every row found.
qsizetype rawLike(const QString& path, const QByteArray& text)
{
    sqlite3* db = nullptr;
    sqlite3_stmt* statement = rawLikeStatement(path, text, &db);
    qsizetype rows = 0;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        for (int c = 0; c < sqlite3_column_count(statement); ++c)
            sqlite3_column_text(statement, c);
        ++rows;
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return rows;
}

// The search statement alone, stepped through without making items.
double statementMs(const QString& path, const QString& text, bool rowIdsInDateOrder)
{
    SerialQueue queue;
    SqliteDatabase db;
    db.open(path);
    SearchIndex index(queue);
    index.attach(db);
    index.foldedRows().scan(db);
    return HistoryFixture::bestMs([&] {
        const auto statement = SearchIndex::searchStatement(db, text, index.isComplete(),
                                                            rowIdsInDateOrder, index.foldedRows());
        while (statement.rows->step()) {
        }
    });
}

// Ten letters from the middle of a stored keyword.
QByteArray tenLettersOf(const QString& path, int rowid)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, "SELECT substr(keyword, 4, 10) FROM pb_items WHERE rowid=?", -1,
                       &statement, nullptr);
    sqlite3_bind_int(statement, 1, rowid);
    QByteArray text;
    if (sqlite3_step(statement) == SQLITE_ROW)
        text = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return text;
}

// The raw LIKE query until its first `rows` rows are stepped through.
double rawLikeFirstMs(const QString& path, const QByteArray& text, int rows)
{
    QElapsedTimer timer;
    timer.start();
    sqlite3* db = nullptr;
    sqlite3_stmt* statement = rawLikeStatement(path, text, &db);
    for (int row = 0; row < rows && sqlite3_step(statement) == SQLITE_ROW; ++row) {
        for (int c = 0; c < sqlite3_column_count(statement); ++c)
            sqlite3_column_text(statement, c);
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return timer.nsecsElapsed() / 1e6;
}

// From the call until the first batch of a streamed search is on the main thread (or its end,
// when it finds nothing).
double firstBatchMs(DBManager& manager, const QString& text)
{
    return HistoryFixture::bestMs([&] {
        QEventLoop loop;
        bool first = true;
        manager.streamSearch(text, &manager, [&](const QList<ListedRow>&, bool last) {
            if (first)
                loop.quit();
            first = false;
            if (!last)
                manager.stopSearch(&manager);
        });
        loop.exec();
    });
}

// Until every result is on the main thread as the lists' rows, as a window's list takes them.
qsizetype searchNow(DBManager& manager, const QString& text)
{
    qsizetype found = 0;
    QEventLoop loop;
    manager.streamSearch(text, &manager, [&](const QList<ListedRow>& batch, bool last) {
        found += batch.size();
        if (last)
            loop.quit();
    });
    loop.exec();
    return found;
}

void benchSearch(int rows)
{
    StoreFixture store;
    const QString folder = store.folder.filePath(QStringLiteral("history"));
    QDir().mkpath(folder);
    const QString path = folder + QStringLiteral("/db.sqlite3");
    const QString plainPath = store.folder.filePath(QStringLiteral("without-index.sqlite3"));
    if (!fill(path, rows, true) || !fill(plainPath, rows, false)) {
        std::puts("cannot generate the history");
        return;
    }
    const QByteArray label = QByteArray::number(rows / 1000) + "k";
    const auto manager = store.makeManager(folder);
    QEventLoop loop;
    manager->fetchAllItems([&loop] { loop.quit(); });
    loop.exec();

    // "NV-" only in the order numbers, "KU-" in the article numbers (with a k: rows with a Kelvin
    // sign are checked with LIKE), and "INV-", whose candidates are the same as "NV-"'s but each
    // is checked with LIKE; ten letters of one stored row; a letter; a wildcard pattern.
    const QByteArray keywords[] = {"NV-", "KU-",      "INV-", tenLettersOf(path, rows / 2),
                                   "q",   "INV-4_2%3"};
    for (const QByteArray& keyword : keywords) {
        qsizetype hits = 0;
        const double baseline = HistoryFixture::bestMs([&] { hits = rawLike(path, keyword); });
        qsizetype found = 0;
        const double ours = HistoryFixture::bestMs(
            [&] { found = searchNow(*manager, QString::fromUtf8(keyword)); });
        const QByteArray name = "search '" + keyword + "' " + label + " (" +
                                QByteArray::number(found) + (found == hits ? "" : " != LIKE's ") +
                                (found == hits ? "" : QByteArray::number(hits)) + " hits, " +
                                QByteArray::number(100.0 * double(hits) / rows, 'f', 2) + " %)";
        HistoryFixture::report(name.constData(), ours, baseline);
        std::printf("  of which the statement alone %10.2f ms\n",
                    statementMs(path, QString::fromUtf8(keyword), true));
        // A history whose rowids are not in date order needs every column of the candidates
        // LIKE keeps, and LIKE on those of three letters too.
        if (SearchIndex::findsExactly(QString::fromUtf8(keyword)))
            std::printf("  the statement through the index and LIKE %10.2f ms\n",
                        statementMs(path, QString::fromUtf8(keyword), false));
        HistoryFixture::report(
            ("  first screenful of '" + keyword + "' " + label + " [raw LIKE's first 64 rows]")
                .constData(),
            firstBatchMs(*manager, QString::fromUtf8(keyword)),
            HistoryFixture::bestMs([&] { rawLikeFirstMs(path, keyword, 64); }));
    }
    const double withIndex = double(QFileInfo(path).size());
    const double without = double(QFileInfo(plainPath).size());
    std::printf("%-52s %10.0f B per row with the index, %.0f B without (x%.2f); "
                "%.0f MB vs %.0f MB per 1,000,000 items\n",
                ("database size " + label).constData(), withIndex / rows, without / rows,
                withIndex / without, withIndex / rows, without / rows);
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // bench_search --write-history PATH ROWS: only writes the generated history (with its index)
    // to PATH, for measuring the running application on it (bench/ctl-search).
    if (argc == 4 && std::strcmp(argv[1], "--write-history") == 0)
        return fill(QString::fromLocal8Bit(argv[2]), std::atoi(argv[3]), true) ? 0 : 1;
    QLoggingCategory::setFilterRules(QStringLiteral("vantrel.*=false"));
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    for (int rows : {100'000, 1'000'000})
        benchSearch(rows);
    return 0;
}
