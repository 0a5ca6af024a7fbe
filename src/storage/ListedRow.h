#pragma once

#include <QUuid>
#include <QtGlobal>

// One item of a history list as the lists hold it: what orders, counts and finds it, and no
// object. The uuid is its 16 bytes when it has the usual form; another uuid is kept as text by
// the lists, and `uuidText` numbers it there (-1 for the usual form).
struct ListedRow
{
    qint64 rowId = 0;
    double date = 0;
    QUuid uuid;
    qint32 uuidText = -1;
    qint8 type = 0;
    bool marked = false;
};
Q_DECLARE_TYPEINFO(ListedRow, Q_RELOCATABLE_TYPE);
static_assert(sizeof(ListedRow) == 40, "a million rows cost 40 MB a list");
