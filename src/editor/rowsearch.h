// The search field of the editor: narrows the shown rows to those that hold a
// typed text, on top of the hide-translated filter.
#pragma once

#include "model/projectmodel.h"

#include <QString>

class RowSearch
{
public:
    // True when any entry of the row holds the text in its key, value or
    // comment, ignoring case. A row key without a row matches on the row key
    // itself. A text that is empty or only white space matches every row.
    static bool matches(const ProjectModel &model, const QString &rowKey, const QString &text);

    // Keeps in model.keys only the row keys that match, in their order.
    static void filterKeys(ProjectModel &model, const QString &text);

    // The same rule as a row filter for ProjectModel::rebuildKeys(); empty
    // (every row kept) for a text that is empty or only white space.
    static ProjectModel::RowFilter filter(const QString &text);
};
