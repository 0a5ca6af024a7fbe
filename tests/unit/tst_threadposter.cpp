#include "support/ThreadPoster.h"

#include <QTest>
#include <QThread>
#include <algorithm>
#include <memory>
#include <thread>
#include <vector>

class TestThreadPoster : public QObject
{
    Q_OBJECT

private slots:
    void functionsRunOnTheReceivingThreadInPostingOrder();
    void functionPendingWhenThePosterGoesIsDroppedWithItsCaptures();
};

void TestThreadPoster::functionsRunOnTheReceivingThreadInPostingOrder()
{
    constexpr int posters = 4;
    constexpr int perPoster = 100;
    ThreadPoster poster;
    std::vector<std::vector<int>> seen(posters); // touched only on this thread
    bool allOnThisThread = true;
    std::vector<std::thread> threads;
    for (int p = 0; p < posters; ++p) {
        threads.emplace_back([&, p] {
            for (int i = 0; i < perPoster; ++i) {
                // Written here, read on the receiving thread: ThreadSanitizer checks the
                // hand-over.
                auto payload = std::make_shared<std::vector<int>>(8, i);
                poster.post([&, p, payload] {
                    allOnThisThread = allOnThisThread && QThread::currentThread() == thread();
                    seen[size_t(p)].push_back(payload->back());
                });
            }
        });
    }
    // Received while the posters still run: joining them first would order everything anyway.
    QTRY_VERIFY(std::all_of(seen.begin(), seen.end(),
                            [](const std::vector<int>& s) { return s.size() == perPoster; }));
    for (std::thread& t : threads)
        t.join();
    QVERIFY(allOnThisThread);
    for (const std::vector<int>& s : seen)
        QVERIFY(std::is_sorted(s.begin(), s.end()));
}

void TestThreadPoster::functionPendingWhenThePosterGoesIsDroppedWithItsCaptures()
{
    auto capture = std::make_shared<int>(0);
    bool ran = false;
    {
        ThreadPoster poster;
        std::thread([&poster, capture, &ran] {
            poster.post([capture, &ran] { ran = true; });
        }).join();
        QCOMPARE(capture.use_count(), 2); // held by the pending function
    }
    QCOMPARE(capture.use_count(), 1);
    QCoreApplication::processEvents();
    QVERIFY(!ran);
}

QTEST_GUILESS_MAIN(TestThreadPoster)
#include "tst_threadposter.moc"
