// Per-row check problems, kept until their row changes.
#include "model/problemcache.h"

#include "model/projectmodel.h"

const QList<LanguageProblem> &ProblemCache::problemsOf(const ProjectModel &model, const QString &rowKey)
{
    return problemsOf(model, rowKey, model.candidates(), ProjectCheck::checkedLanguages(model));
}

const QList<LanguageProblem> &ProblemCache::problemsOf(const ProjectModel &model, const QString &rowKey,
                                                       const QStringList &candidates,
                                                       const QSet<QString> &checked)
{
    const auto row = model.data.constFind(rowKey);
    if (row == model.data.cend()) {
        m_rows.remove(rowKey);
        return m_none;
    }
    return problemsOf(rowKey, *row, candidates, checked);
}

const QList<LanguageProblem> &ProblemCache::problemsOf(const QString &rowKey, const Row &row,
                                                       const QStringList &candidates,
                                                       const QSet<QString> &checked)
{
    if (candidates != m_candidates || checked != m_checked) {
        m_rows.clear();
        m_candidates = candidates;
        m_checked = checked;
    }
    auto cached = m_rows.find(rowKey);
    if (cached == m_rows.end())
        cached =
            m_rows.insert(rowKey, {row, ProjectCheck::checkRow(rowKey, row, checked, candidates)});
    else if (cached->row != row)
        *cached = {row, ProjectCheck::checkRow(rowKey, row, checked, candidates)};
    return cached->problems;
}

void ProblemCache::clear()
{
    m_rows.clear();
}

ProjectModel::RowFilter ProblemCache::onlyProblems(const ProjectModel &model, ProjectModel::RowFilter search)
{
    return [this, candidates = model.candidates(), checked = ProjectCheck::checkedLanguages(model),
            search = std::move(search)](const QString &rowKey, const Row &row) {
        if (search && !search(rowKey, row))
            return false;
        return !problemsOf(rowKey, row, candidates, checked).isEmpty();
    };
}
