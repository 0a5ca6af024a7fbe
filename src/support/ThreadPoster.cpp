#include "support/ThreadPoster.h"

#include <QCoreApplication>
#include <QEvent>

#if defined(__SANITIZE_THREAD__)
#define VANTREL_TSAN 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define VANTREL_TSAN 1
#endif
#endif

#ifdef VANTREL_TSAN
#include <sanitizer/tsan_interface.h>
#endif

namespace {
QEvent::Type functionEventType()
{
    static const auto type = QEvent::Type(QEvent::registerEventType());
    return type;
}

// What Qt's event queue guarantees, told to ThreadSanitizer: everything the poster did before
// post() happens before the receiving thread touches the function.
void handOver([[maybe_unused]] void* token)
{
#ifdef VANTREL_TSAN
    __tsan_release(token);
#endif
}

void takeOver([[maybe_unused]] void* token)
{
#ifdef VANTREL_TSAN
    __tsan_acquire(token);
#endif
}

class FunctionEvent : public QEvent
{
public:
    explicit FunctionEvent(std::function<void()> fn)
        : QEvent(functionEventType()), m_fn(std::move(fn))
    {}
    // Also reached for an event dropped undelivered, which destroys the captures.
    ~FunctionEvent() override { takeOver(this); }

    void run() { m_fn(); }

private:
    std::function<void()> m_fn;
};
} // namespace

ThreadPoster::ThreadPoster(QObject* parent) : QObject(parent) {}

void ThreadPoster::post(std::function<void()> fn)
{
    auto event = std::make_unique<FunctionEvent>(std::move(fn));
    handOver(event.get());
    QCoreApplication::postEvent(this, event.release());
}

void ThreadPoster::customEvent(QEvent* event)
{
    takeOver(event); // before the first look at the event, its type
    if (event->type() == functionEventType())
        static_cast<FunctionEvent*>(event)->run();
}
