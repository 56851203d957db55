// Case-insensitive matching of a search text against every text of a row.
#include "rowsearch.h"

#include <QStringMatcher>

namespace {
// One row against a prepared matcher; the matcher's skip table is built once
// per search instead of once per text compared.
bool rowMatches(const ProjectModel &model, const QString &rowKey, const QStringMatcher &matcher)
{
    const auto it = model.data.constFind(rowKey);
    if (it == model.data.constEnd())
        return matcher.indexIn(rowKey) >= 0;
    for (const Entry &entry : *it) {
        if (matcher.indexIn(entry.value) >= 0 || matcher.indexIn(entry.key) >= 0
            || (entry.comment && matcher.indexIn(*entry.comment) >= 0))
            return true;
    }
    return false;
}
} // namespace

bool RowSearch::matches(const ProjectModel &model, const QString &rowKey, const QString &text)
{
    if (text.trimmed().isEmpty())
        return true;
    return rowMatches(model, rowKey, QStringMatcher(text, Qt::CaseInsensitive));
}

void RowSearch::filterKeys(ProjectModel &model, const QString &text)
{
    if (text.trimmed().isEmpty())
        return;
    const QStringMatcher matcher(text, Qt::CaseInsensitive);
    QStringList kept;
    kept.reserve(model.keys.size());
    for (const QString &rowKey : std::as_const(model.keys)) {
        if (rowMatches(model, rowKey, matcher))
            kept << rowKey;
    }
    model.keys = kept;
}
