#include "storage/HistoryLoad.h"

#include "storage/DBManager.h"
#include "support/Clock.h"
#include "support/Logging.h"

#include <QPointer>

HistoryLoad::HistoryLoad(DBManager& dbManager, const Clock& clock, QObject* parent)
    : QObject(parent)
{
    QPointer<HistoryLoad> self(this);
    const double start = clock.now();
    dbManager.fetchAllItems([self, &clock, start] {
        if (!self)
            return;
        qCInfo(lcStorage, "loading time %fs", clock.now() - start);
        self->m_done = true;
        emit self->done();
    });
}
