// The check problems of a project's rows as the app shows them: computed once
// per row and again only when that row (or what the checks depend on) changes.
#pragma once

#include "model/projectcheck.h"
#include "model/projectmodel.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

class ProblemCache
{
public:
    // The problems of the row under rowKey (ProjectCheck::checkRow with the
    // model's candidates and checked languages); none for a row key without a
    // row. A row is checked again when it differs from the row last checked
    // under its key; every row when the candidates or the checked languages
    // differ from the last call's. The reference holds until the next call.
    const QList<LanguageProblem> &problemsOf(const ProjectModel &model, const QString &rowKey);
    // The same with candidates and checked languages already asked for (the
    // cheaper form for a loop over many rows).
    const QList<LanguageProblem> &problemsOf(const ProjectModel &model, const QString &rowKey,
                                             const QStringList &candidates, const QSet<QString> &checked);
    // The same for a row already at hand: the model's row under rowKey.
    const QList<LanguageProblem> &problemsOf(const QString &rowKey, const Row &row,
                                             const QStringList &candidates,
                                             const QSet<QString> &checked);
    bool hasProblems(const ProjectModel &model, const QString &rowKey)
    {
        return !problemsOf(model, rowKey).isEmpty();
    }
    // A filter for ProjectModel::rebuildKeys() that keeps the rows `search`
    // keeps (every row when it is empty) and that have problems; the search
    // runs first, being the cheaper. It refers to this cache and holds the
    // model's candidates and checked languages as they are now, so it is meant
    // for one rebuild of that model's keys.
    ProjectModel::RowFilter onlyProblems(const ProjectModel &model, ProjectModel::RowFilter search);
    // Forgets every row (a new project, say).
    void clear();

private:
    struct Cached
    {
        Row row; // shares the model row's data, so comparing is cheap while it is unchanged
        QList<LanguageProblem> problems;
    };

    QHash<QString, Cached> m_rows;
    QStringList m_candidates;
    QSet<QString> m_checked;
    QList<LanguageProblem> m_none;
};
