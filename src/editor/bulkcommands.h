// The seven bulk commands of the editor over the selected rows. Each changes
// the model, saves it, and says what the window must redraw.
#pragma once

#include "editor/commandoutcome.h"

#include <QList>

class ProjectModel;

// `selection` holds display indexes into model.keys in ascending order;
// indexes outside keys are ignored. The base-language candidates are read
// from the settings once per command.
class BulkCommands
{
public:
    // Case changes of every entry of each selected row, with the locale of the
    // entry's language; escapes and format specifiers are kept (CaseChange).
    // Nothing selected: nothing happens. Otherwise one save and one reload.
    static CommandOutcome capitalize(ProjectModel &model, const QList<int> &selection);
    static CommandOutcome upperCaase(ProjectModel &model, const QList<int> &selection);
    static CommandOutcome lowerCase(ProjectModel &model, const QList<int> &selection);

    // Each selected row with a base entry becomes a copy of that entry in every
    // project language; entries of other languages are dropped. Saves and
    // reloads after every row it changes.
    static CommandOutcome copyBase(ProjectModel &model, const QList<int> &selection);
    // As copyBase, but a project language that holds an entry keeps it.
    static CommandOutcome copyMissingFromBase(ProjectModel &model, const QList<int> &selection);

    // Removes every entry whose language is not a base-language candidate. A
    // row may become empty and stays. Nothing selected: nothing happens.
    static CommandOutcome deleteTranslation(ProjectModel &model, const QList<int> &selection);
    // Removes each selected row that has a base entry from data and its first
    // occurrence from keys (mapKeyToFile is kept). Clears the selection, saves,
    // reloads. Nothing selected: nothing happens.
    static CommandOutcome deleteString(ProjectModel &model, const QList<int> &selection);
};
