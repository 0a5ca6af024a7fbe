#pragma once

#include "storage/FoundBatch.h"

#include <QList>
#include <QString>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>

class SearchIndex;
class SqliteDatabase;

// Runs the keyword searches of the history and hands their results over in batches, newest first:
// the first as soon as a screenful is found (or a few milliseconds have passed with fewer), then
// one every so often, so that a list shows the newest results at once and the rest follow without
// the receiver being woken for every row. The rows found are read as a load reads them, and no
// object is made for any.
//
// It reads on a connection of its own (the history is in write-ahead-log mode): a search that
// walks a million rows never holds up a capture waiting for the database queue. One thread at a
// time; the store runs it on its background queue.
class HistorySearch
{
public:
    // When a batch is handed over: a first one of this many rows or after this long, then one
    // after each interval or once it holds the most rows the receiver takes in one go (each row
    // costs it a little on the main thread).
    struct Pacing
    {
        qsizetype firstRows;
        std::chrono::milliseconds firstWait;
        std::chrono::milliseconds interval;
        qsizetype maxRows;
    };
    static constexpr Pacing defaultPacing{64, std::chrono::milliseconds(8),
                                          std::chrono::milliseconds(40), 16384};

    // All must outlive the search.
    HistorySearch(const QString& dbPath, const SearchIndex& index, Pacing pacing = defaultPacing);
    ~HistorySearch();
    HistorySearch(const HistorySearch&) = delete;
    HistorySearch& operator=(const HistorySearch&) = delete;

    // Finds the items whose keyword contains `text`, calling `batch` on this thread with each
    // non-empty batch in order (see SearchIndex::searchStatement for `rowIdsInDateOrder`). Returns
    // false when `stop` turned true before the end (what was found after the last batch is then
    // dropped); a history that cannot be read finds nothing.
    using BatchBlock = std::function<void(FoundBatch batch)>;
    bool run(const QString& text, bool rowIdsInDateOrder, const std::atomic<bool>& stop,
             const BatchBlock& batch);

    // Finds the rows a search from the index alone must check with LIKE (FoldedRows), where
    // they are not known yet.
    void findFoldedRows();

private:
    bool open();

    const QString m_dbPath;
    const SearchIndex& m_index;
    const Pacing m_pacing;
    std::unique_ptr<SqliteDatabase> m_db;
};
