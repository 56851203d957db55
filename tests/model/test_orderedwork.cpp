// OrderedWork: items come back whole and in order, never too far ahead of
// the caller, and the caller is never stalled by a pool that cannot help.
#include "model/orderedwork.h"

#include <QSemaphore>
#include <QThread>
#include <QThreadPool>
#include <atomic>
#include <gtest/gtest.h>
#include <vector>

TEST(OrderedWork, HandsBackEveryItemInOrderWithinItsBoundsAndWithoutAFreePool)
{
    QThreadPool pool;
    pool.setMaxThreadCount(3);
    struct Case
    {
        QThreadPool *pool;
        int threads;
        qsizetype count;
        qsizetype ahead;
        qint64 budget = 0; // with weights 1, 2, 3, 1, 2, 3, ... when set
    };
    for (const Case &c : {Case{&pool, 3, 200, 4}, Case{&pool, 3, 2, 8}, Case{&pool, 1, 50, 1},
                          Case{nullptr, 0, 30, 4}, Case{&pool, 3, 0, 4}, Case{&pool, 3, 300, 6, 4},
                          Case{&pool, 3, 100, 6, 2}}) {
        std::vector<qint64> weights;
        for (qsizetype i = 0; c.budget && i < c.count; ++i)
            weights.push_back(1 + i % 3);
        std::vector<int> done(size_t(c.count));
        std::atomic<qsizetype> started{0};
        std::atomic<qsizetype> released{0};
        std::atomic<qsizetype> worstLead{0};
        std::atomic<qint64> running{0};
        std::atomic<bool> overBudget{false};
        const auto raise = [](std::atomic<qsizetype> &worst, qsizetype value) {
            qsizetype seen = worst;
            while (value > seen && !worst.compare_exchange_weak(seen, value)) {
            }
        };
        {
            OrderedWork work(
                c.count, c.ahead, c.pool, c.threads,
                [&](qsizetype i) {
                    raise(worstLead, ++started - released);
                    const qint64 weight = weights.empty() ? 0 : weights[size_t(i)];
                    const qint64 now = running += weight;
                    // An item heavier than the budget may run, but only alone.
                    if (now > c.budget && now != weight)
                        overBudget = true;
                    if (c.budget)
                        QThread::usleep(50); // long enough for items to overlap
                    done[size_t(i)] += 1;
                    running -= weight;
                },
                weights, c.budget);
            for (qsizetype i = 0; i < c.count; ++i) {
                work.take(i);
                ASSERT_EQ(done[size_t(i)], 1) << i;
                ++released;
                work.release();
            }
        }
        EXPECT_EQ(started, c.count);
        EXPECT_LE(worstLead, c.ahead + 1) << c.count;
        EXPECT_FALSE(overBudget) << c.count;
    }

    // Every thread of the pool is busy until the caller has taken every item.
    QThreadPool busy;
    busy.setMaxThreadCount(1);
    QSemaphore finished;
    busy.start([&finished] { finished.acquire(); });
    int sum = 0;
    {
        OrderedWork work(10, 2, &busy, 1, [&sum](qsizetype i) { sum += int(i); });
        for (qsizetype i = 0; i < 10; ++i) {
            work.take(i);
            work.release();
        }
        finished.release();
    }
    EXPECT_EQ(sum, 45);
}
