#pragma once

#include "item/ItemUuid.h"

#include <QtGlobal>

// A row of the table as a load or a search reads it: what a list holds of it, with its uuid as
// read. `dated` is false where the date is NULL (`date` is then 0): such rows come after every
// dated one, newest first.
struct FoundRow
{
    qint64 rowId = 0;
    double date = 0;
    bool dated = true;
    qint8 type = 0;
    bool marked = false;
    ItemUuid uuid;

    // Newest first, as the date index orders the rows: the last written first among equal dates.
    static bool newer(bool aDated, double aDate, qint64 aRowId, bool bDated, double bDate,
                      qint64 bRowId)
    {
        if (aDated != bDated)
            return aDated;
        if (aDate != bDate)
            return aDate > bDate;
        return aRowId > bRowId;
    }
    static bool newer(const FoundRow& a, const FoundRow& b)
    {
        return newer(a.dated, a.date, a.rowId, b.dated, b.date, b.rowId);
    }
};
