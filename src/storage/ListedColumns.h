#pragma once

#include "storage/FoundRow.h"

#include <optional>

class SqliteStatement;

// The columns of a statement that yields rowid, uuid, date, type and marked, looked up once for
// all its rows.
class ListedColumns
{
public:
    explicit ListedColumns(const SqliteStatement& statement);

    // The statement's current row; nullopt for an unknown type number, which no list shows.
    std::optional<FoundRow> read(const SqliteStatement& row) const;

private:
    int m_rowId;
    int m_uuid;
    int m_date;
    int m_type;
    int m_marked;
};
