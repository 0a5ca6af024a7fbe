#pragma once

#include "storage/FoundRow.h"

#include <QList>

// Rows a search found, newest first, as it hands them over: by their ids alone where the rows' ids
// are in date order and the search read nothing else, at 8 bytes a row (a common word finds most
// of a million), or as read. A batch holds one kind or the other.
struct FoundBatch
{
    QList<qint64> rowIds;
    QList<FoundRow> rows;

    qsizetype size() const { return rowIds.size() + rows.size(); }
    bool isEmpty() const { return size() == 0; }
};
