// Names held once for the whole program (languages, file names), so that the
// many rows that name one of them each hold a pointer instead of a string.
#pragma once

#include <QString>

class HeldNames
{
public:
    // A held name: equal names give the same pointer, valid until the
    // program ends.
    using Name = const QString *;

    // The held name equal to `name`. Safe from any thread; a call that asks
    // for the same name as the thread's previous call takes no lock.
    static Name hold(const QString &name);
};
