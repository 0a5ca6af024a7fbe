#include "storage/HistoryLoad.h"

#include "storage/DBManager.h"

#include <QPointer>

HistoryLoad::HistoryLoad(DBManager& dbManager, QObject* parent) : QObject(parent)
{
    QPointer<HistoryLoad> self(this);
    dbManager.fetchAllItems([self] {
        if (!self)
            return;
        self->m_done = true;
        emit self->done();
    });
}
