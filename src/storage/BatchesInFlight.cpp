#include "storage/BatchesInFlight.h"

#include <chrono>

bool BatchesInFlight::waitForRoom(const std::atomic<bool>& stop)
{
    std::unique_lock lock(m_mutex);
    while (m_inFlight >= m_most && !stop)
        m_released.wait_for(lock, std::chrono::milliseconds(5));
    return m_inFlight < m_most;
}

std::shared_ptr<void> BatchesInFlight::hold()
{
    {
        const std::lock_guard lock(m_mutex);
        ++m_inFlight;
    }
    // The deleter runs for the null pointer too, once the last copy goes.
    return std::shared_ptr<void>(nullptr, [self = shared_from_this()](void*) { self->release(); });
}

void BatchesInFlight::release()
{
    {
        const std::lock_guard lock(m_mutex);
        --m_inFlight;
    }
    m_released.notify_one();
}
