// The one SQLite connection of the translation memory, used by one piece of
// work at a time on a private serial thread while the caller waits.
#pragma once

#include "memory/database.h"

#include <QString>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

class DatabaseQueue
{
public:
    // Opens (creating if needed) the file and checks that it is a database.
    // Returns nothing, with the reason in *error, when it cannot be used.
    static std::unique_ptr<DatabaseQueue> open(const QString &path, QString *error = nullptr);
    ~DatabaseQueue();
    DatabaseQueue(const DatabaseQueue &) = delete;
    DatabaseQueue &operator=(const DatabaseQueue &) = delete;

    QString path() const;

    // Runs the work with the connection on the queue's thread and returns when
    // it has finished; no other work touches the connection meanwhile. Work
    // that itself calls back into the queue runs in place.
    void inDatabase(const std::function<void(Database &)> &work);
    // As inDatabase, between a transaction's begin and commit; the work sets
    // rollback to undo. Returns whether the transaction was committed. When the
    // begin or the commit itself failed (another process holding the file, a
    // full disk), *failure gets SQLite's reason; it is left alone otherwise.
    bool inTransaction(const std::function<void(Database &, bool &rollback)> &work,
                       QString *failure = nullptr);

private:
    explicit DatabaseQueue(const QString &path);
    void runLoop();
    void perform(const std::function<void()> &job);

    QString m_path;
    sqlite3 *m_connection = nullptr;
    std::unique_ptr<Database> m_database;
    std::thread m_thread;
    std::thread::id m_threadId;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<std::function<void()>> m_jobs;
    bool m_stopping = false;
};
