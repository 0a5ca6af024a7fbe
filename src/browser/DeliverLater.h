#pragma once

#include <QFutureWatcher>
#include <QObject>

// Hands the result of work done on another thread to `handle` on the thread of `context`,
// always later through its event loop (never inside the call that started the work, even when
// the work is already done), and not at all once `context` is gone.
template <class T, class Handler>
void deliverLater(QObject* context, QFuture<T> future, Handler handle)
{
    auto* watcher = new QFutureWatcher<T>(context);
    QObject::connect(watcher, &QFutureWatcherBase::finished, context,
                     [watcher, handle = std::move(handle)]() mutable {
                         watcher->deleteLater();
                         handle(watcher->result());
                     });
    watcher->setFuture(std::move(future));
}
