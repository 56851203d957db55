// Case-insensitive matching of a search text against every text of a row.
#include "rowsearch.h"

#include <QStringMatcher>
#include <memory>

namespace {
// One row against a prepared matcher; the matcher's skip table is built once
// per search instead of once per text compared.
bool rowMatches(const Row &row, const QStringMatcher &matcher)
{
    // Languages mostly have the same key and comment as the entry before:
    // comparing is cheaper than searching again.
    const QString *lastKey = nullptr;
    const QString *lastComment = nullptr;
    for (const Entry &entry : row) {
        if (matcher.indexIn(entry.value) >= 0)
            return true;
        // Plural categories and device variations count as the entry's texts.
        for (const EntryVariant &variant : entry.variants)
            if (matcher.indexIn(variant.value) >= 0)
                return true;
        if ((!lastKey || *lastKey != entry.key) && matcher.indexIn(entry.key) >= 0)
            return true;
        lastKey = &entry.key;
        if (entry.comment && (!lastComment || *lastComment != *entry.comment)) {
            if (matcher.indexIn(*entry.comment) >= 0)
                return true;
            lastComment = &*entry.comment;
        }
    }
    return false;
}

bool rowMatches(const ProjectModel &model, const QString &rowKey, const QStringMatcher &matcher)
{
    const auto it = model.data.constFind(rowKey);
    if (it == model.data.constEnd())
        return matcher.indexIn(rowKey) >= 0;
    return rowMatches(*it, matcher);
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

ProjectModel::RowFilter RowSearch::filter(const QString &text)
{
    if (text.trimmed().isEmpty())
        return {};
    const auto matcher = std::make_shared<const QStringMatcher>(text, Qt::CaseInsensitive);
    return [matcher](const QString &, const Row &row) { return rowMatches(row, *matcher); };
}
