#pragma once

#include "storage/FoldedRows.h"

#include <QString>
#include <atomic>
#include <memory>
#include <optional>

class SerialQueue;
class SqliteDatabase;
class SqliteStatement;

// The trigram index of the keywords (table pb_search, see resources/search_index.sql) and the
// search statement built on it. A search for a text with a run of three or more characters
// between its wildcards reads only the rows that hold every trigram of those runs, then applies
// the same LIKE as the plain scan to each, so both find exactly the same rows in the same order;
// three ASCII characters need no LIKE at all, but in the rare rows FoldedRows knows (see
// findsExactly()).
// Any other text, one whose trigrams are in too many rows to sort at once, and every search
// while the index is incomplete, use the plain scan.
//
// The triggers of the schema keep the index in step with every insert and delete, inside the
// statement that makes them. A history made before the index gains it when first opened: the
// table and the triggers at once, the existing rows in the background, newest first, a batch per
// block of the database queue, so captures and searches go on in between.
class SearchIndex
{
public:
    explicit SearchIndex(SerialQueue& dbQueue);
    // Stops the background build after its current batch; the database queue must still run.
    ~SearchIndex();
    SearchIndex(const SearchIndex&) = delete;
    SearchIndex& operator=(const SearchIndex&) = delete;

    // On the database queue, once the connection is open: adds the index where the history has
    // none, and starts adding the rows still missing from it. `db` must outlive this object.
    void attach(SqliteDatabase& db);

    // Whether the index holds every row, so that searches use it. Any thread.
    bool isComplete() const { return m_complete; }
    // The rows the index alone cannot tell apart as LIKE does. Any thread.
    FoldedRows& foldedRows() const { return *m_foldedRows; }

    // The statement that yields the listed columns (rowid, uuid, date, type, marked) of the rows
    // whose keyword contains `text` (LIKE: % and _ are wildcards, A-Z without case), with its
    // parameters bound: newest first (as FoundRow::newer), or, where it reads the index's few
    // candidates, in no order, to be sorted by the caller; or, where rowids are in date order,
    // only the rowids, newest first (from the index alone for a text it finds exactly, see
    // findsExactly(); the rows `folded` may hold are then still to be checked with LIKE:
    // `checkFolded`).
    // `rowIdsInDateOrder` tells that the rows' ids are in that order too (the lists know it:
    // PackedList::isInRowIdOrder()). On the thread that owns `db`, any connection to the history.
    enum class Order {
        NewestFirst,
        // The index's few candidates, in the order of their rows.
        Unordered,
        // By rowid, newest first, where rowids are in date order: the statement yields only
        // the rowid.
        IdsNewestFirst,
    };
    struct Statement
    {
        std::unique_ptr<SqliteStatement> rows;
        Order order;
        bool checkFolded = false;
    };
    static Statement searchStatement(SqliteDatabase& db, const QString& text, bool indexed,
                                     bool rowIdsInDateOrder, const FoldedRows& folded);

    // The statement that yields a row when the row whose rowid is bound (as parameter 1) holds
    // `text` (LIKE, as above). On the thread that owns `db`.
    static std::unique_ptr<SqliteStatement> rowCheck(SqliteDatabase& db, const QString& text);

    // The index query for a search text: the trigrams of its runs of three or more characters
    // between wildcards, all required; none where there is no such run or the text holds NUL
    // (LIKE reads a text only up to its first NUL).
    static std::optional<QString> matchExpression(const QString& text);
    // Whether the index alone finds the rows LIKE finds for `text`, but in the rows FoldedRows
    // knows where it concerns `text`: three ASCII characters and no wildcard. (The index folds A-Z
    // to a-z, as LIKE does, but also the Kelvin sign to k and the long s to s, which LIKE does
    // not.) One difference is left: the index holds a keyword's text after a NUL character,
    // which LIKE does not read, so such a keyword may be found by three letters after it.
    static bool findsExactly(const QString& text);

private:
    // Whether the index lists few enough rows for the match to sort them all at once.
    static bool fewCandidates(SqliteDatabase& db, const QString& match);
    bool hasTable() const;
    bool create();
    qint64 backlog() const;
    // Adds the next batch of missing rows in one transaction; false when none are left or the
    // batch failed.
    bool indexNextBatch();
    void buildInBackground();

    SerialQueue& m_dbQueue;
    SqliteDatabase* m_db = nullptr;
    // Rows whose rowid is at most this are not in the index yet. Database queue only.
    qint64 m_upTo = 0;
    std::atomic<bool> m_complete{false};
    std::atomic<bool> m_stopping{false};
    std::unique_ptr<SerialQueue> m_buildQueue;
    const std::unique_ptr<FoldedRows> m_foldedRows;
};
