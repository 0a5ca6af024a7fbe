#include "support/SerialQueue.h"

SerialQueue::SerialQueue() : m_thread([this] { run(); }) {}

SerialQueue::~SerialQueue()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

void SerialQueue::async(std::function<void()> block)
{
    // Notified under the lock: once the block is queued its caller may be answered and the
    // queue destroyed, so the caller must be done with the queue by the time the lock is free.
    std::lock_guard lock(m_mutex);
    m_blocks.push_back(std::move(block));
    m_wake.notify_one();
}

void SerialQueue::runAndWait(const std::function<void()>& block)
{
    std::mutex doneMutex;
    std::condition_variable doneChanged;
    bool done = false;
    async([&] {
        block();
        // Notified under the lock: the waiter cannot return and destroy the condition variable
        // before notify_one() is finished with it.
        std::lock_guard lock(doneMutex);
        done = true;
        doneChanged.notify_one();
    });
    std::unique_lock lock(doneMutex);
    doneChanged.wait(lock, [&done] { return done; });
}

void SerialQueue::run()
{
    for (;;) {
        std::function<void()> block;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_stopping || !m_blocks.empty(); });
            if (m_blocks.empty())
                return;
            block = std::move(m_blocks.front());
            m_blocks.pop_front();
        }
        block();
    }
}
