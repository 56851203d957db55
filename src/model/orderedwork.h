// Work on numbered items spread over a thread pool, handed back in order, a
// bounded number ahead of the caller that consumes them.
#pragma once

#include <QtGlobal>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <vector>

class QThreadPool;

class OrderedWork
{
public:
    // Calls work(i) for every i in [0, count), started in order of i, on up
    // to `threads` threads of the pool that are free when it starts (so it
    // may be used from a thread of the same pool) and never more than `ahead` items
    // beyond those released. Without a pool nothing runs until take().
    // With weights (one per item), items run at once only while their
    // weights add up to at most `budget`; an item heavier than that runs
    // alone.
    OrderedWork(qsizetype count, qsizetype ahead, QThreadPool *pool, int threads,
                std::function<void(qsizetype)> work, std::vector<qint64> weights = {},
                qint64 budget = 0);
    // Starts no more items and waits for those running.
    ~OrderedWork();
    OrderedWork(const OrderedWork &) = delete;
    OrderedWork &operator=(const OrderedWork &) = delete;

    // Returns once item i is done. When no thread has started it yet, it is
    // done here once its weight allows, so a pool busy elsewhere (or one
    // running this caller) can never stall the caller. Items are taken in
    // order.
    void take(qsizetype i);
    // The caller is done with the oldest item it took: one more may start.
    void release();

private:
    void runWorker();
    // Starts the next item here and marks it done; with the lock held.
    void runNext(std::unique_lock<std::mutex> &lock);
    // Whether the next item may start now; with the lock held.
    bool nextMayStart() const;
    qint64 weightOf(qsizetype i) const { return m_weights.empty() ? 0 : m_weights[size_t(i)]; }

    const qsizetype m_count;
    const std::function<void(qsizetype)> m_work;
    const std::vector<qint64> m_weights;
    const qint64 m_budget;
    qint64 m_running = 0; // the weight of the items running
    std::mutex m_mutex;
    std::condition_variable m_changed;
    qsizetype m_next = 0; // the next item to start
    qsizetype m_room;     // items that may start before more are released
    std::vector<char> m_done;
    bool m_stopping = false;
    int m_workers = 0; // the workers started and not yet done
};
