// Workers take the next item under a lock and work on it outside it; the
// caller waits on the same condition for its item or runs it itself.
#include "model/orderedwork.h"

#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

OrderedWork::OrderedWork(qsizetype count, qsizetype ahead, QThreadPool *pool, int threads,
                         std::function<void(qsizetype)> work)
    : m_count(count), m_work(std::move(work)), m_room(ahead), m_done(size_t(count))
{
    if (!pool)
        return;
    for (int t = 0; t < threads && t < count; ++t)
        m_workers.append(QtConcurrent::run(pool, [this] { runWorker(); }));
}

OrderedWork::~OrderedWork()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    for (QFuture<void> &worker : m_workers)
        worker.waitForFinished();
}

void OrderedWork::runWorker()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_stopping || m_next >= m_count || m_room > 0; });
        if (m_stopping || m_next >= m_count)
            return;
        const qsizetype item = m_next++;
        --m_room;
        lock.unlock();
        m_work(item);
        lock.lock();
        m_done[size_t(item)] = 1;
        m_changed.notify_all();
    }
}

void OrderedWork::take(qsizetype i)
{
    std::unique_lock lock(m_mutex);
    if (m_done[size_t(i)])
        return;
    if (m_next == i) {
        ++m_next;
        --m_room;
        lock.unlock();
        m_work(i);
        lock.lock();
        m_done[size_t(i)] = 1;
        return;
    }
    m_changed.wait(lock, [this, i] { return m_done[size_t(i)] != 0; });
}

void OrderedWork::release()
{
    {
        std::lock_guard lock(m_mutex);
        ++m_room;
    }
    m_changed.notify_all();
}
