#pragma once

#include "item/PBContent.h"
#include "storage/Category.h"
#include "storage/CategoryLists.h"
#include "support/ObservableValue.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>

class Clock;
class DataManager;
struct FoundBatch;
class HistorySearch;
class ListLoader;
class ListedObjects;
class RowDetailCache;
class SearchIndex;
class SerialQueue;
class SqliteDatabase;
class SqliteStatement;
class ThreadPoster;

// The history store: one row of pb_items per item in "db.sqlite3", the six category lists the
// windows show, their counts, deletion and marking. Its signals tell of every change (the
// companion client hears of them through CompanionEndpoint); Retention prunes it.
//
// Threads: the one connection lives on a serial database queue; callers wait for their
// statements. The category lists are changed only on the main thread: every change is posted
// there from inside the database block that made it, so the main thread applies the changes of
// inserts and loads in the order the database saw them and no reader ever sees a list mid-change.
// Loads and searches start on a background queue of the store's own (not the shared thread pool),
// so none of them outlives the store, and ThreadSanitizer sees every hand-over.
//
// The lists hold what orders, counts and finds an item, packed, with no object per item; an
// item's object is made when it is used (ListedObjects), and reads the rest of its row when it is
// shown or copied, through a bounded cache (RowDetailCache) on a connection of its own.
class DBManager : public QObject
{
    Q_OBJECT

public:
    // What the store works with; all must outlive it.
    struct Services
    {
        const DataManager& dataManager;
        const Clock& clock;
    };

    using InsertBlock = std::function<void(bool written)>;
    using SearchBlock = std::function<void(const QList<PBContentPtr>& items)>;
    using BatchBlock = std::function<void(const QList<ListedRow>& batch, bool last)>;

    // A store on "db.sqlite3" in `folder`, made from the template when missing or empty; one that
    // cannot be read as a history is kept aside (see keptDamagedFile()) and a new one made.
    DBManager(const QString& folder, const Services& services, QObject* parent = nullptr);
    ~DBManager() override;

    QString dbPath() const { return m_dbPath; }
    bool isOpen() const { return m_open; }
    // Where the history found damaged at start was kept, or empty when it was not.
    QString keptDamagedFile() const { return m_keptDamagedFile; }
    // Whether searches narrow their rows through the index (a history made before it gains it
    // in the background; until then they scan every row).
    bool searchIndexComplete() const;

    // Writes the item's row and puts it at the front of Recents and of its kind's list. The
    // block gets false at once, on the caller's thread, for an item without uuid, date or
    // payloads or one already stored; otherwise it is called on the main thread once the row
    // was written (true) or failed (false).
    void insertPbContent(const PBContentPtr& item, InsertBlock block);

    // The items whose keyword contains `text` (LIKE: % and _ are wildcards, A-Z without case),
    // newest first: the lists' own objects for listed rows, new ones for the others. Runs in the
    // background; the block runs on the main thread unless `context` is gone by then. A later
    // search for the same context supersedes this one: it is stopped where it is, and its block
    // is never called, so a list typed into quickly waits only for the search of its last text.
    void searchPbItems(const QString& text, QObject* context, SearchBlock block);
    // The same search, its results handed over as they are found, as rows of the lists (no
    // object made; see objectFor()): the block runs on the main thread with each batch in order,
    // newest first, and once more with `last` set (and maybe no rows) when every row was read.
    // A row not listed (found before the first load) is as the search read it, until the lists
    // are next replaced; Recents then lists it. A later search for the same context stops
    // this one as above; no batch of it is handed over after that.
    void streamSearch(const QString& text, QObject* context, BatchBlock block);
    // Whether the rows' ids are in the lists' order, newest first, as a load found them and
    // inserts kept them: a search may then read the table in the order of its rowids. False
    // until the first load.
    bool rowIdsInDateOrder() const;
    // Stops the context's search, if one is running; its block is not called again.
    void stopSearch(const QObject* context);

    // Reloads the six lists from the table in the background, then on the main thread updates
    // the counts, calls the block and emits itemsFetched().
    void fetchAllItems(std::function<void()> block);
    // Whether a load has filled the lists. Main thread only.
    bool isLoaded() const { return m_loaded; }
    // Loads the lists unless a load did or is doing so already, and calls the block on the main
    // thread once they are loaded: at once when they are. Main thread only.
    void loadOnce(std::function<void()> block);

    // Deletes the items' rows, takes them out of the lists and removes their payload files; then,
    // on the main thread, updates the counts, calls the block and emits deletionFinished().
    void deletePbContents(const QList<PBContentPtr>& items, std::function<void()> block = {});

    // Stores `marked` in the items' rows first; then, on the main thread, gives the items whose
    // row was written (and the lists' objects for them) the mark, follows it in the Marked list,
    // updates the counts, calls the block and emits marksUpdated() with those items. An item
    // whose row could not be written keeps the mark it had.
    void updateFavorite(const QList<PBContentPtr>& items, bool marked, std::function<void()> block);

    // Deletes the rows that `choose` picks, on the database queue, in the same database block,
    // and the payload files of those whose row went; then, on the main thread, takes those out of
    // the lists, updates the counts and calls the block with them. Returns how many rows were
    // picked, once they are deleted. For the retention pass; main thread.
    using RowChooser = std::function<QList<PBContentPtr>(SqliteDatabase& db)>;
    using DeletedBlock = std::function<void(const QList<PBContentPtr>& deleted)>;
    qsizetype deleteChosenRows(const RowChooser& choose, DeletedBlock block);

    // Sets the six counts from the list lengths. Main thread only.
    void updateCounts();

    // An item for the current row, reading its payloads through the store's payload files, or
    // nullptr for an unknown type number.
    PBContentPtr contentFromFMResult(const SqliteStatement& row) const;

    // The lists of the categories the store keeps (isStoreList()), and their counts. A list
    // holds rows, not objects: an item's object is made when it is asked for, and stays the
    // row's one object for as long as anything holds it. Main thread only.
    qsizetype listLength(Category category) const { return m_lists[category].size(); }
    // Whether the item at `index` of the list is marked, without making its object.
    bool isMarkedAt(Category category, qsizetype index) const
    {
        return m_lists[category][index].marked;
    }
    PBContentPtr itemAt(Category category, qsizetype index);
    // The object for a row of the lists or of a search: the row's one object.
    PBContentPtr objectFor(const ListedRow& row);
    ItemUuid uuidOf(const ListedRow& row) const { return m_lists.uuidOf(row); }
    // The list's rows as they stand (a search list reads its results' rows from Recents).
    const PackedList& list(Category category) const { return m_lists[category]; }
    // The index of the item with this uuid in the list, or -1.
    qsizetype indexOfUuid(Category category, const ItemUuid& uuid) const;
    // The newest `count` items as Recents will list them, read from the table now on a connection
    // of their own (objects of their own): for an answer that cannot wait for the first load.
    QList<PBContentPtr> newestItems(qsizetype count) const;
    // Every item of the list, each made now that is not in use: an object per item, for callers
    // that need the whole list at once.
    QList<PBContentPtr> items(Category category);
    QList<PBContentPtr> recentItems() { return items(Category::Recents); }
    ObservableValue<qint64>& count(Category category) { return m_counts[qsizetype(category)]; }

    // For the sweep of orphan payload files, each waiting for the database queue (so not for
    // the main thread): whether the table holds any row, and the stored payload paths (the
    // "data" column as it stands) of the rows with these uuids, a uuid without a row having no
    // entry. nullopt when the history cannot be read.
    std::optional<bool> hasRows();
    std::optional<QHash<QString, QByteArray>> storedDataPaths(const QStringList& uuids);

signals:
    // Each change of a category list comes between a pair of these, on the main thread, so that
    // an item model over the list in place can announce it row by row: an item put at the front
    // of one list, an item taken out of one list at `index`, all lists replaced by a load.
    void itemAboutToBeInserted(Category category);
    void itemInserted(Category category);
    void itemAboutToBeRemoved(Category category, qsizetype index);
    void itemRemoved(Category category, qsizetype index);
    void listsAboutToBeReplaced();
    void listsReplaced();
    // The item's new mark is stored; the store's own object for it (found by uuid) carries it.
    void markChanged(const PBContentPtr& item);
    // The items' rows are gone. Lists holding rows of their own (search results) drop those
    // with the same uuid.
    void itemsDeleted(const QList<PBContentPtr>& items);
    // The ends of the operations above, each after its completion ran: a load-all; a deletion,
    // with the items whose rows went (none when no row could be deleted); a marking, with the
    // items whose rows took the mark.
    void itemsFetched();
    void deletionFinished(const QList<PBContentPtr>& deleted);
    void marksUpdated(const QList<PBContentPtr>& items);

private:
    bool openDatabase();
    bool exists(const QString& uuid);
    // The new row's id, or nullopt when it was not written.
    std::optional<qint64> writeRow(const PBContent& item);
    std::optional<qint64> insertRow(const PBContent& item, const ContentDetails& details);
    // Replaces the lists with a load's and updates the counts. Main thread.
    void applyLists(CategoryLists&& lists);
    // The lists' rows for the rows a search found, with the marks they have now (the search may
    // have read a row before a change of its mark reached the lists).
    QList<ListedRow> listedRows(const FoundBatch& found);
    using SearchTicket = std::shared_ptr<std::atomic<bool>>;
    // Marks the context's earlier search superseded and hands out the ticket of its new one.
    SearchTicket newSearchTicket(const QObject* context);
    // Runs one statement per item in one transaction; the items whose statement succeeded.
    QList<PBContentPtr>
    runForEach(const QList<PBContentPtr>& items, const char* sql,
               const std::function<void(SqliteStatement&, const PBContent&)>& bind);
    QList<PBContentPtr> deleteRows(const QList<PBContentPtr>& items);
    void applyInsert(const PBContentPtr& item, qint64 rowId);
    void removeFromLists(const QList<PBContentPtr>& items);
    void removeFromLists(const PBContent& item);
    void removeAllFromLists(const QList<PBContentPtr>& items);
    void applyMarks(const QList<PBContentPtr>& items, bool marked);
    // The single list changes, each announced by the signals above.
    void prependTo(Category category, const ListedRow& row);
    void removeAt(Category category, qsizetype index);
    // Runs fn on the main thread, after everything posted before it.
    void postToMain(std::function<void()> fn);

    QString m_dbPath;
    Services m_services;
    std::unique_ptr<SerialQueue> m_dbQueue;
    std::unique_ptr<SerialQueue> m_backgroundQueue;
    ThreadPoster* m_mainPoster; // child: runs posted functions on the main thread
    std::unique_ptr<SqliteDatabase> m_db;
    std::unique_ptr<SearchIndex> m_searchIndex;
    std::unique_ptr<RowDetailCache> m_details;
    std::unique_ptr<ListLoader> m_loader;    // database queue only, but for listedContent()
    std::unique_ptr<HistorySearch> m_search; // background queue only
    bool m_open = false;
    QString m_keptDamagedFile;
    CategoryLists m_lists;
    std::unique_ptr<ListedObjects> m_objects;
    // Main thread only: whether a load has filled the lists, how many loads are in flight, and
    // what waits for the first one.
    bool m_loaded = false;
    int m_loading = 0;
    QList<std::function<void()>> m_awaitingLoad;
    // The search in flight for each context. Main thread only.
    QHash<const QObject*, SearchTicket> m_searches;
    std::array<ObservableValue<qint64>, storeListCount> m_counts;
};
