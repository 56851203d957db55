// What the project's load and save share: the file name suffixes, paths, and
// running work on the thread pool when there is enough of it.
#pragma once

#include <QString>
#include <QThread>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentMap>
#include <algorithm>
#include <atomic>
#include <functional>
#include <iterator>

namespace ProjectFiles {

inline const QString LprojSuffix = QStringLiteral(".lproj");
inline const QString StringsSuffix = QStringLiteral(".strings");
inline const QString TxtSuffix = QStringLiteral(".txt");

inline QString joinPath(const QString &folder, const QString &name)
{
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

inline QString rowKeyFor(const QString &key, const QString &fileName)
{
    return key + QLatin1Char('-') + fileName;
}

// The threads that read and write project files: a pool of their own, since
// Qt's global pool also serves the window's painting, which must not wait
// behind a large load.
inline QThreadPool *workPool()
{
    static QThreadPool *pool = [] {
        auto *threads = new QThreadPool;
        threads->setMaxThreadCount(QThread::idealThreadCount());
        return threads;
    }();
    return pool;
}

// Runs the function over the range on workPool(), or right here when the
// work is too small to pay for waking threads: a small project loads and
// saves in a fraction of the time a hand-off costs.
// Whatever the caller wrote before is seen by each call, and whatever the
// calls wrote is seen by the caller after.
template<typename Iterator, typename Function>
void forEach(Iterator begin, Iterator end, bool parallel, Function function)
{
    if (!parallel) {
        std::for_each(begin, end, function);
        return;
    }
    // The pool orders all this already, but Qt is not built for thread
    // checkers, which would see none of it: passing an atomic from the caller
    // to each call and back shows them the same order.
    std::atomic<int> handOff{0};
    handOff.store(1, std::memory_order_release);
    QtConcurrent::blockingMap(workPool(), begin, end, [&](auto &item) {
        handOff.load(std::memory_order_acquire);
        function(item);
        handOff.fetch_add(1, std::memory_order_release);
    });
    handOff.load(std::memory_order_acquire);
}

// Runs both functions: side by side on workPool() when `parallel`, else one
// after the other here. Ordered for the caller as forEach() is.
inline void runBoth(bool parallel, const std::function<void()> &first,
                    const std::function<void()> &second)
{
    const std::function<void()> *const both[] = {&first, &second};
    forEach(std::begin(both), std::end(both), parallel,
            [](const std::function<void()> *function) { (*function)(); });
}

} // namespace ProjectFiles
