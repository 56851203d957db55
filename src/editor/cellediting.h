// In-place editing of the editor table's Key String, Value String and Comment
// cells, which show the row's base entry.
#pragma once

#include "editor/commandoutcome.h"
#include "model/column.h"

#include <QString>
#include <QVariant>
#include <optional>

class ProjectModel;

class CellEditing
{
public:
    // Whether the cell may be edited: every column but Status and File; true
    // with no column. The row plays no part.
    static bool shouldEditTableColumn(const std::optional<Column> &column, int row);

    // Commits an edit of the cell at display index `row` of model.keys. The
    // value must hold a QString; anything else is logged ("Invalid object,
    // expecting string object: ...") and dropped. A row without a base entry is
    // left alone. Otherwise every base-language candidate's entry of the row is
    // set from the base entry with the edited field replaced, and the project is
    // saved (also for the Status and File columns, which are logged). The table is not
    // reloaded. Row indexes outside keys change nothing. A new key that
    // another row of the same file already has is refused, changing nothing,
    // with the reason in the outcome's message.
    static CommandOutcome setObjectValue(ProjectModel &model, const QVariant &value,
                                         const std::optional<Column> &column, int row);
};
