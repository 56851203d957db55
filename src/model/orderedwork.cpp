// Workers take the next item under a lock and work on it outside it; the
// caller waits on the same condition for its item or runs it itself.
#include "model/orderedwork.h"

#include <QThreadPool>

OrderedWork::OrderedWork(qsizetype count, qsizetype ahead, QThreadPool *pool, int threads,
                         std::function<void(qsizetype)> work, std::vector<qint64> weights,
                         qint64 budget)
    : m_count(count), m_work(std::move(work)), m_weights(std::move(weights)), m_budget(budget),
      m_room(ahead), m_done(size_t(count))
{
    if (!pool)
        return;
    // The workers take the lock first: everything above happens before them
    // for every tool that watches locks, not only through the pool's hand-off.
    std::lock_guard lock(m_mutex);
    // Only threads free now are taken: a worker queued behind busy ones
    // would have to be waited for at the end, and when the caller itself
    // runs on the pool, the threads it waits behind may be waiting for it.
    for (int t = 0; t < threads && t < count; ++t) {
        if (!pool->tryStart([this] {
                runWorker();
                std::lock_guard done(m_mutex);
                --m_workers;
                m_changed.notify_all();
            }))
            break;
        ++m_workers;
    }
}

OrderedWork::~OrderedWork()
{
    std::unique_lock lock(m_mutex);
    m_stopping = true;
    m_changed.notify_all();
    m_changed.wait(lock, [this] { return m_workers == 0; });
}

bool OrderedWork::nextMayStart() const
{
    return m_running == 0 || m_running + weightOf(m_next) <= m_budget;
}

void OrderedWork::runWorker()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] {
            return m_stopping || m_next >= m_count || (m_room > 0 && nextMayStart());
        });
        if (m_stopping || m_next >= m_count)
            return;
        runNext(lock);
    }
}

void OrderedWork::runNext(std::unique_lock<std::mutex> &lock)
{
    const qsizetype item = m_next++;
    const qint64 weight = weightOf(item);
    --m_room;
    m_running += weight;
    lock.unlock();
    m_work(item);
    lock.lock();
    m_running -= weight;
    m_done[size_t(item)] = 1;
    m_changed.notify_all();
}

void OrderedWork::take(qsizetype i)
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        if (m_done[size_t(i)])
            return;
        if (m_next == i && nextMayStart())
            runNext(lock);
        else
            m_changed.wait(lock);
    }
}

void OrderedWork::release()
{
    {
        std::lock_guard lock(m_mutex);
        ++m_room;
    }
    m_changed.notify_all();
}
