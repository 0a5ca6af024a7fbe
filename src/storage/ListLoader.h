#pragma once

#include "item/PBContent.h"
#include "storage/CategoryLists.h"

class DetailReader;
class PayloadReader;
class SqliteDatabase;
class SqliteStatement;

// Reads what the history store's lists hold from the table in one pass: each row of a known type
// becomes a listed row, no object made, and the six lists come out newest first. It also makes
// the object of a listed item (no details: it reads them from its row when used). The load runs
// on the database queue; objects are made on any thread.
class ListLoader
{
public:
    // The items made read their payloads and details through these, which must outlive them.
    ListLoader(const PayloadReader& payloads, const DetailReader& details);

    // Gives a history made before the load's own index that index; loads read from it once it is
    // there.
    void addIndex(SqliteDatabase& db);
    CategoryLists load(SqliteDatabase& db) const;
    // The newest `count` items of the lists, newest first, read by the date index alone: what
    // the first rows of Recents will be, at once, while a load of a long history runs.
    QList<PBContentPtr> newest(SqliteDatabase& db, qsizetype count) const;
    // A listed item for the current row of a statement that yields rowid, uuid, date, type and
    // marked, or nullptr for an unknown type number.
    PBContentPtr listedContent(const SqliteStatement& row) const;
    // A listed item for a row of the lists, with the row's uuid.
    PBContentPtr listedContent(const ListedRow& row, const ItemUuid& uuid) const;

private:
    const PayloadReader& m_payloads;
    const DetailReader& m_details;
    bool m_indexed = false;
};
