// The program-wide table of held names.
#include "model/heldnames.h"

#include <QHash>
#include <deque>
#include <mutex>

HeldNames::Name HeldNames::hold(const QString &name)
{
    // Never freed: anything may point to a held name, and a program meets
    // only a few hundred.
    struct Table
    {
        // A standard mutex, which thread checkers see, unlike Qt's.
        std::mutex lock;
        std::deque<QString> held; // a deque keeps its elements in place as it grows
        QHash<QString, Name> index;
    };
    static Table *const table = new Table;
    thread_local QString lastName;
    thread_local Name last = nullptr;
    if (last && lastName == name)
        return last;
    const std::lock_guard locker(table->lock);
    Name &found = table->index[name];
    if (!found)
        found = &table->held.emplace_back(name);
    lastName = *found;
    last = found;
    return found;
}
