#include "storage/ListedColumns.h"

#include "item/PBContent.h"
#include "support/SqliteStatement.h"

ListedColumns::ListedColumns(const SqliteStatement& statement)
    : m_rowId(statement.columnIndex("rowid")), m_uuid(statement.columnIndex("uuid")),
      m_date(statement.columnIndex("date")), m_type(statement.columnIndex("type")),
      m_marked(statement.columnIndex("marked"))
{}

std::optional<FoundRow> ListedColumns::read(const SqliteStatement& row) const
{
    const qint64 type = row.integer(m_type);
    if (type < PBContentTypeText || type > PBContentTypeURL)
        return std::nullopt;
    return FoundRow{row.integer(m_rowId),       row.real(m_date),
                    !row.isNull(m_date),        qint8(type),
                    row.integer(m_marked) != 0, ItemUuid::fromUtf8(row.storedBytes(m_uuid))};
}
