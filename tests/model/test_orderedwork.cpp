// OrderedWork: items come back whole and in order, never too far ahead of
// the caller, and the caller is never stalled by a pool that cannot help.
#include "model/orderedwork.h"

#include <QSemaphore>
#include <QThreadPool>
#include <atomic>
#include <gtest/gtest.h>
#include <vector>

TEST(OrderedWork, HandsBackEveryItemInOrderWithinItsBoundAndWithoutAFreePool)
{
    QThreadPool pool;
    pool.setMaxThreadCount(3);
    struct Case
    {
        QThreadPool *pool;
        int threads;
        qsizetype count;
        qsizetype ahead;
    };
    for (const Case &c : {Case{&pool, 3, 200, 4}, Case{&pool, 3, 2, 8}, Case{&pool, 1, 50, 1},
                          Case{nullptr, 0, 30, 4}, Case{&pool, 3, 0, 4}}) {
        std::vector<int> done(size_t(c.count));
        std::atomic<qsizetype> started{0};
        std::atomic<qsizetype> released{0};
        std::atomic<qsizetype> worstLead{0};
        {
            OrderedWork work(c.count, c.ahead, c.pool, c.threads, [&](qsizetype i) {
                const qsizetype lead = ++started - released;
                qsizetype worst = worstLead;
                while (lead > worst && !worstLead.compare_exchange_weak(worst, lead)) {
                }
                done[size_t(i)] += 1;
            });
            for (qsizetype i = 0; i < c.count; ++i) {
                work.take(i);
                ASSERT_EQ(done[size_t(i)], 1) << i;
                ++released;
                work.release();
            }
        }
        EXPECT_EQ(started, c.count);
        EXPECT_LE(worstLead, c.ahead + 1) << c.count;
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
