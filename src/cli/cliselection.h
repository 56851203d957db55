// Loading a project for the editing commands of verbalo-cli and turning
// --row-key options into a selection.
#pragma once

#include "model/projectmodel.h"

#include <QList>
#include <QStringList>

class CliSelection
{
public:
    // The project at root, loaded, with every row key in keys (sorted by key,
    // never filtered: a command line names rows whatever the table hides).
    static void load(ProjectModel &model, const QString &root);
    // Ascending indexes into model.keys of the given row keys (duplicates
    // folded). Throws CliError "no such row key: KEY" for the first unknown.
    static QList<int> indexesOf(const ProjectModel &model, const QStringList &rowKeys);
};
