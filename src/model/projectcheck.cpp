// The checks of a whole project, row by row.
#include "model/projectcheck.h"

#include "model/pluralcheck.h"
#include "model/projectmodel.h"
#include "model/variantfiles.h"

#include <QCoreApplication>
#include <algorithm>

QList<LanguageProblem> ProjectCheck::checkRow(const QString &rowKey, const Row &row,
                                              const QSet<QString> &checked, const QStringList &candidates)
{
    QList<LanguageProblem> found;
    const Entry *base = ProjectModel::baseEntryIn(row, candidates);
    if (!base || checked.isEmpty())
        return found;
    for (auto it = row.cbegin(); it != row.cend(); ++it) {
        if (&it.value() == base || !checked.contains(it.key()))
            continue;
        for (CheckProblem &problem : TranslationCheck::check(base->value, it->value))
            found.append({it.key(), std::move(problem)});
    }
    if (!VariantFiles::isVariantFile(rowKey))
        return found;
    // Texts awaiting review are a state, not a fault of the text: only the
    // plural problems are reported.
    bool added = false;
    for (const PluralProblem &p : PluralCheck::check(rowKey, row, candidates, QStringList(checked.cbegin(), checked.cend())))
        if (p.kind == QLatin1String("plural") && checked.contains(p.language)) {
            found.append({p.language, CheckProblem{CheckKind::Plural, p.detail}});
            added = true;
        }
    if (added)
        std::stable_sort(found.begin(), found.end(), [](const LanguageProblem &a, const LanguageProblem &b) {
            return a.language < b.language;
        });
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
        const QList<LanguageProblem> found = checkRow(*rowKey, row, checked, candidates);
        if (found.isEmpty())
            continue;
        const QString &base = ProjectModel::baseEntryIn(row, candidates)->value;
        for (const LanguageProblem &p : found) {
            const auto text = row.constFind(p.language);
            problems.append({*rowKey, p.language, p.problem, base, text != row.cend() ? text->value : QString()});
        }
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
    case CheckKind::Plural:
        return QCoreApplication::translate("ProjectCheck", "Plural forms");
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
