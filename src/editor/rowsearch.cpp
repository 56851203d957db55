// Case-insensitive matching of a search text against every text of a row.
#include "rowsearch.h"

bool RowSearch::matches(const ProjectModel &model, const QString &rowKey, const QString &text)
{
    if (text.trimmed().isEmpty())
        return true;
    const auto it = model.data.constFind(rowKey);
    if (it == model.data.constEnd())
        return rowKey.contains(text, Qt::CaseInsensitive);
    for (const Entry &entry : *it) {
        if (entry.key.contains(text, Qt::CaseInsensitive)
            || entry.value.contains(text, Qt::CaseInsensitive)
            || (entry.comment && entry.comment->contains(text, Qt::CaseInsensitive)))
            return true;
    }
    return false;
}

void RowSearch::filterKeys(ProjectModel &model, const QString &text)
{
    if (text.trimmed().isEmpty())
        return;
    QStringList kept;
    kept.reserve(model.keys.size());
    for (const QString &rowKey : std::as_const(model.keys)) {
        if (matches(model, rowKey, text))
            kept << rowKey;
    }
    model.keys = kept;
}
