#pragma once

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>

// Holds a thread that hands batches over to another back while as many as it may have waiting
// are not taken in yet: a search that finds rows faster than the main thread takes them in then
// waits for it, where it would pile its rows up in memory. Any thread.
class BatchesInFlight : public std::enable_shared_from_this<BatchesInFlight>
{
public:
    explicit BatchesInFlight(int most) : m_most(most) {}

    // Waits until fewer than the most are in flight or `stop` turns true (it is looked at every
    // few milliseconds); whether there is room.
    bool waitForRoom(const std::atomic<bool>& stop);
    // Counts one batch more in flight, until the last copy of the handle goes with the batch it
    // travels with, taken in or dropped.
    std::shared_ptr<void> hold();

private:
    void release();

    const int m_most;
    std::mutex m_mutex;
    std::condition_variable m_released;
    int m_inFlight = 0;
};
