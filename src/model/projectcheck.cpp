// The checks of a whole project, row by row.
#include "model/projectcheck.h"

#include "model/projectmodel.h"

#include <QCoreApplication>
#include <algorithm>

QList<LanguageProblem> ProjectCheck::checkRow(const Row &row, const QSet<QString> &checked,
                                              const QStringList &candidates)
{
    QList<LanguageProblem> found;
    const Entry *base = ProjectModel::baseEntryIn(row, candidates);
    if (!base)
        return found;
    for (auto it = row.cbegin(); it != row.cend(); ++it) {
        if (&it.value() == base || !checked.contains(it.key()))
            continue;
        for (CheckProblem &problem : TranslationCheck::check(base->value, it->value))
            found.append({it.key(), std::move(problem)});
    }
    return found;
}

QSet<QString> ProjectCheck::checkedLanguages(const ProjectModel &model)
{
    const QStringList counted = model.countedLanguages();
    return QSet<QString>(counted.cbegin(), counted.cend());
}

QList<ProjectProblem> ProjectCheck::check(const ProjectModel &model)
{
    const QSet<QString> checked = checkedLanguages(model);
    const QStringList candidates = model.candidates();
    QList<const QString *> rowKeys;
    rowKeys.reserve(model.data.size());
    for (auto it = model.data.cbegin(); it != model.data.cend(); ++it)
        rowKeys.append(&it.key());
    std::sort(rowKeys.begin(), rowKeys.end(), [](const QString *a, const QString *b) { return *a < *b; });

    QList<ProjectProblem> problems;
    for (const QString *rowKey : std::as_const(rowKeys)) {
        const Row &row = *model.data.constFind(*rowKey);
        const QList<LanguageProblem> found = checkRow(row, checked, candidates);
        if (found.isEmpty())
            continue;
        const QString &base = ProjectModel::baseEntryIn(row, candidates)->value;
        for (const LanguageProblem &p : found)
            problems.append({*rowKey, p.language, p.problem, base, row.constFind(p.language)->value});
    }
    return problems;
}

QStringList ProjectCheck::languagesOf(const QList<LanguageProblem> &problems)
{
    QStringList languages;
    for (const LanguageProblem &p : problems)
        if (!languages.contains(p.language))
            languages.append(p.language);
    return languages;
}

QString ProjectCheck::title(CheckKind kind)
{
    switch (kind) {
    case CheckKind::Format:
        return QCoreApplication::translate("ProjectCheck", "Format specifiers");
    case CheckKind::LineBreaks:
        return QCoreApplication::translate("ProjectCheck", "Line breaks");
    case CheckKind::Whitespace:
        return QCoreApplication::translate("ProjectCheck", "White space at the ends");
    }
    return QString();
}

QString ProjectCheck::describe(const QList<LanguageProblem> &problems)
{
    QStringList lines;
    for (const LanguageProblem &p : problems)
        lines << QStringLiteral("%1: %2 (%3)").arg(p.language, title(p.problem.kind), p.problem.detail);
    return lines.join(QLatin1Char('\n'));
}

QString ProjectCheck::describe(const QList<CheckProblem> &problems)
{
    QStringList lines;
    for (const CheckProblem &p : problems)
        lines << QStringLiteral("%1 (%2)").arg(title(p.kind), p.detail);
    return lines.join(QLatin1Char('\n'));
}
