// What an editing command leaves for the window that forwarded it: the command
// has already changed and saved the model; the window only redraws.
#pragma once

#include <QString>

struct CommandOutcome
{
    // Times the project was written by the command.
    int saves = 0;
    // Times the table must be reloaded and the selection handler run, in this
    // order; a window may fold several into one since the rows do not move.
    int reloads = 0;
    // The table's selection must be cleared before reloading.
    bool clearSelection = false;
    // One line for the user when the command refused, or did only part of
    // its work: why.
    QString message = {};

    bool changedNothing() const { return saves == 0 && reloads == 0 && !clearSelection; }
};
