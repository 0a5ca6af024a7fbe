#pragma once

#include <QObject>
#include <functional>

// Runs functions on the thread this object lives in, through that thread's event loop, in the
// order they were posted. post() may be called from any thread; a function still pending when the
// object goes is dropped without running.
//
// Unlike a queued QMetaObject::invokeMethod, the hand-over is visible to ThreadSanitizer. It
// cannot see the locks inside an uninstrumented Qt, and would report each posted function's
// captures as a race between the poster and the receiving thread.
class ThreadPoster : public QObject
{
public:
    explicit ThreadPoster(QObject* parent = nullptr);

    void post(std::function<void()> fn);

protected:
    void customEvent(QEvent* event) override;
};
