// Names of the editor's columns.
#include "model/column.h"

#include <QCoreApplication>

namespace {

const char *const kIdentifiers[] = {
    QT_TRANSLATE_NOOP("Column", "Key String"), QT_TRANSLATE_NOOP("Column", "Value String"),
    QT_TRANSLATE_NOOP("Column", "Comment"),    QT_TRANSLATE_NOOP("Column", "Status"),
    QT_TRANSLATE_NOOP("Column", "File"),
};

} // namespace

QString Columns::identifier(Column column)
{
    return QString::fromLatin1(kIdentifiers[int(column)]);
}

QString Columns::title(Column column)
{
    return QCoreApplication::translate("Column", kIdentifiers[int(column)]);
}

std::optional<Column> Columns::at(int section)
{
    if (section < 0 || section >= int(all.size()))
        return std::nullopt;
    return all[size_t(section)];
}

bool Columns::isSortable(Column column)
{
    return column == Column::Key || column == Column::Value || column == Column::Status;
}

bool Columns::isEditable(Column column)
{
    return column != Column::Status && column != Column::File;
}
