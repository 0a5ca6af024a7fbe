#include "support/SerialQueue.h"

#include <QTest>
#include <future>
#include <memory>
#include <thread>
#include <vector>

class TestSerialQueue : public QObject
{
    Q_OBJECT

private slots:
    void blocksRunInSubmissionOrder();
    void syncHandsBackTheBlocksResult();
    void blocksFromManyThreadsNeverOverlap();
    void syncFromInsideABlockRunsInlineInsteadOfDeadlocking();
    void destructionRunsTheBlocksStillQueued();
    void queueMayGoOnceItsLastBlockHasRun();
};

void TestSerialQueue::blocksRunInSubmissionOrder()
{
    SerialQueue queue;
    std::vector<int> seen; // touched only on the queue's thread
    for (int i = 0; i < 1000; ++i) {
        if (i % 3 == 0)
            queue.sync([&seen, i] { seen.push_back(i); });
        else
            queue.async([&seen, i] { seen.push_back(i); });
    }
    const std::vector<int> result = queue.sync([&seen] { return seen; });
    QCOMPARE(result.size(), 1000u);
    for (int i = 0; i < 1000; ++i)
        QCOMPARE(result[size_t(i)], i);
}

void TestSerialQueue::syncHandsBackTheBlocksResult()
{
    SerialQueue queue;
    const auto callerThread = std::this_thread::get_id();
    const auto ranOn = queue.sync([] { return std::this_thread::get_id(); });
    QVERIFY(ranOn != callerThread);
    QCOMPARE(queue.sync([] { return QStringLiteral("answer"); }), QStringLiteral("answer"));
    // Move-only results are handed over, not copied.
    std::unique_ptr<int> owned = queue.sync([] { return std::make_unique<int>(42); });
    QVERIFY(owned);
    QCOMPARE(*owned, 42);
}

void TestSerialQueue::blocksFromManyThreadsNeverOverlap()
{
    SerialQueue queue;
    int counter = 0;     // plain int: a data race here is what ThreadSanitizer would report
    bool inside = false; // set while a block runs
    bool overlapped = false;
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 250; ++i) {
                auto block = [&] {
                    overlapped = overlapped || inside;
                    inside = true;
                    ++counter;
                    inside = false;
                };
                if (i % 2)
                    queue.async(block);
                else
                    queue.sync(block);
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    QCOMPARE(queue.sync([&counter] { return counter; }), 8 * 250);
    QVERIFY(!queue.sync([&overlapped] { return overlapped; }));
}

void TestSerialQueue::syncFromInsideABlockRunsInlineInsteadOfDeadlocking()
{
    SerialQueue queue;
    QVERIFY(!queue.isCurrent());
    const auto [innerResult, innerWasCurrent] = queue.sync([&queue] {
        const int inner = queue.sync([] { return 7; });
        return std::pair(inner, queue.isCurrent());
    });
    QCOMPARE(innerResult, 7);
    QVERIFY(innerWasCurrent);
}

void TestSerialQueue::destructionRunsTheBlocksStillQueued()
{
    int ran = 0;
    {
        SerialQueue queue;
        std::promise<void> gate;
        std::shared_future<void> opened = gate.get_future().share();
        // The first block holds the queue so the others are still waiting when it goes.
        queue.async([opened] { opened.wait(); });
        for (int i = 0; i < 100; ++i)
            queue.async([&ran] { ++ran; });
        gate.set_value();
    }
    QCOMPARE(ran, 100);
}

void TestSerialQueue::queueMayGoOnceItsLastBlockHasRun()
{
    // The owner may destroy the queue as soon as it sees the effect of the last block, while the
    // thread that submitted it is still returning from sync(): that thread must no longer touch
    // the queue by then (ThreadSanitizer reports it if it does).
    for (int round = 0; round < 500; ++round) {
        auto queue = std::make_unique<SerialQueue>();
        std::atomic<bool> ran = false;
        std::thread submitter([&queue, &ran] { queue->sync([&ran] { ran = true; }); });
        while (!ran)
            std::this_thread::yield();
        queue.reset();
        submitter.join();
    }
}

QTEST_GUILESS_MAIN(TestSerialQueue)
#include "tst_serialqueue.moc"
