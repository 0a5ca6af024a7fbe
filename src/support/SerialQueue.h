#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <type_traits>

// One dedicated thread that runs blocks one at a time, in the order they were submitted.
//
// sync() blocks the caller until its block has run and hands back the block's result. A block
// that calls sync() on its own queue would wait for itself forever; instead such a call runs the
// block inline, at once. That keeps the queue's guarantee (no two blocks run at the same time,
// since the caller already is the queue's thread) and turns a certain deadlock into a nested call.
//
// The destructor runs every block already queued, then joins the thread.
class SerialQueue
{
public:
    SerialQueue();
    ~SerialQueue();
    SerialQueue(const SerialQueue&) = delete;
    SerialQueue& operator=(const SerialQueue&) = delete;

    void async(std::function<void()> block);

    template <class F> std::invoke_result_t<F&> sync(F&& block)
    {
        using Result = std::invoke_result_t<F&>;
        if (isCurrent())
            return block();
        if constexpr (std::is_void_v<Result>) {
            runAndWait([&block] { block(); });
        } else {
            std::optional<Result> result;
            runAndWait([&block, &result] { result.emplace(block()); });
            return std::move(*result);
        }
    }

    // True when called from a block running on this queue.
    bool isCurrent() const { return std::this_thread::get_id() == m_thread.get_id(); }

private:
    void runAndWait(const std::function<void()>& block);
    void run();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<std::function<void()>> m_blocks;
    bool m_stopping = false;
    std::thread m_thread; // last: started once the members above exist
};
