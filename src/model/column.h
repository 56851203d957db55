// The five columns of the editor's table, and what each is called: the
// identifier commands and logs use, and the title shown in the header.
#pragma once

#include <QString>
#include <array>
#include <optional>

enum class Column { Key, Value, Comment, Status, File };

class Columns
{
public:
    static constexpr std::array<Column, 5> all{Column::Key, Column::Value, Column::Comment, Column::Status,
                                               Column::File};

    // "Key String", "Value String", "Comment", "Status", "File".
    static QString identifier(Column column);
    // The identifier in the user's language, for the table header.
    static QString title(Column column);
    // The column at a table position, if any.
    static std::optional<Column> at(int section);
    static int section(Column column) { return int(column); }

    // Key, Value and Status order the rows; Status and File cannot be edited.
    static bool isSortable(Column column);
    static bool isEditable(Column column);
};
