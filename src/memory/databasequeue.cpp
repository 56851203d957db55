// The serial thread that owns the memory's SQLite connection.
#include "databasequeue.h"

#include <sqlite3.h>
#include <future>

DatabaseQueue::DatabaseQueue(const QString &path) : m_path(path)
{
    m_thread = std::thread([this] { runLoop(); });
    m_threadId = m_thread.get_id();
}

DatabaseQueue::~DatabaseQueue()
{
    perform([this] {
        m_database.reset();
        if (m_connection)
            sqlite3_close_v2(m_connection);
        m_connection = nullptr;
    });
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

std::unique_ptr<DatabaseQueue> DatabaseQueue::open(const QString &path, QString *error)
{
    std::unique_ptr<DatabaseQueue> queue(new DatabaseQueue(path));
    QString reason;
    queue->perform([&] {
        const QByteArray file = path.toUtf8();
        sqlite3 *connection = nullptr;
        const int rc = sqlite3_open_v2(file.constData(), &connection,
                                       SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
        if (rc != SQLITE_OK) {
            reason = connection ? QString::fromUtf8(sqlite3_errmsg(connection))
                                : QString::fromUtf8(sqlite3_errstr(rc));
            sqlite3_close_v2(connection);
            return;
        }
        // Another process may hold the file for a moment; wait rather than fail.
        sqlite3_busy_timeout(connection, 5000);
        // Lookups read pages all over the file: reading them through a memory
        // map and keeping more of them spares a system call for each.
        sqlite3_exec(connection, "PRAGMA mmap_size = 268435456; PRAGMA cache_size = -32768", nullptr, nullptr,
                     nullptr);
        // Opening is lazy: the first read of the schema tells whether the file
        // is a database at all.
        if (sqlite3_exec(connection, "SELECT count(*) FROM sqlite_master", nullptr, nullptr,
                         nullptr)
            != SQLITE_OK) {
            reason = QString::fromUtf8(sqlite3_errmsg(connection));
            sqlite3_close_v2(connection);
            return;
        }
        queue->m_connection = connection;
        queue->m_database = std::make_unique<Database>(connection);
    });
    if (!queue->m_database) {
        if (error)
            *error = reason;
        return nullptr;
    }
    return queue;
}

QString DatabaseQueue::path() const { return m_path; }

void DatabaseQueue::runLoop()
{
    for (;;) {
        std::function<void()> job;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_stopping || !m_jobs.empty(); });
            if (m_jobs.empty())
                return;
            job = std::move(m_jobs.front());
            m_jobs.pop_front();
        }
        job();
    }
}

void DatabaseQueue::perform(const std::function<void()> &job)
{
    if (std::this_thread::get_id() == m_threadId) {
        job();
        return;
    }
    std::packaged_task<void()> task(job);
    std::future<void> done = task.get_future();
    {
        std::lock_guard lock(m_mutex);
        m_jobs.emplace_back([&task] { task(); });
    }
    m_wake.notify_one();
    done.get();
}

void DatabaseQueue::inDatabase(const std::function<void(Database &)> &work)
{
    perform([&] {
        if (m_database)
            work(*m_database);
    });
}

bool DatabaseQueue::inTransaction(const std::function<void(Database &, bool &rollback)> &work,
                                  QString *failure)
{
    bool committed = false;
    perform([&] {
        if (!m_database)
            return;
        Database &db = *m_database;
        // A transaction already open (work nested in work) is simply joined.
        const bool outer = !db.isInTransaction();
        if (outer && !db.beginTransaction()) {
            if (failure)
                *failure = db.lastErrorMessage();
            return;
        }
        bool rollback = false;
        work(db, rollback);
        if (!outer) {
            committed = !rollback;
            return;
        }
        if (rollback) {
            db.rollback();
            return;
        }
        committed = db.commit();
        if (!committed) {
            // Read before the rollback replaces it.
            if (failure)
                *failure = db.lastErrorMessage();
            db.rollback();
        }
    });
    return committed;
}
