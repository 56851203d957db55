// The checks of a whole project: every language's text of every row against
// the row's base text, with the kinds of TranslationCheck.
#pragma once

#include "model/row.h"
#include "model/translationcheck.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

class ProjectModel;

// One problem of one language's text in a row.
struct LanguageProblem
{
    QString language;
    CheckProblem problem;

    friend bool operator==(const LanguageProblem &, const LanguageProblem &) = default;
};

// One problem as a report lists it.
struct ProjectProblem
{
    QString rowKey;
    QString language;
    CheckProblem problem;
    QString base; // the base text, held form
    QString text; // the language's text, held form
};

class ProjectCheck
{
public:
    // The problems of the row under rowKey, by language name in code-point
    // order, each language's in the order of TranslationCheck::check, then
    // its Plural problems for a .stringsdict or .xcstrings row (a plural group
    // lacking a category the language needs, or specifiers differing from the
    // base's). Only languages in `checked` are looked at; the base entry's
    // own language, and every language of a row without a base entry, give
    // none of the text kinds.
    static QList<LanguageProblem> checkRow(const QString &rowKey, const Row &row,
                                           const QSet<QString> &checked, const QStringList &candidates);

    // The languages a check looks at: the project's, less the ignored ones
    // (a language the user keeps out of the status is not theirs to fix).
    static QSet<QString> checkedLanguages(const ProjectModel &model);

    // Every problem of the project, rows in code-unit order of their row keys.
    static QList<ProjectProblem> check(const ProjectModel &model);

    // The languages of the problems, each once, in order.
    static QStringList languagesOf(const QList<LanguageProblem> &problems);

    // The kind as the app names it ("Format specifiers", ...), translated.
    static QString title(CheckKind kind);
    // One line per problem, "fa: Format specifiers (expects %@; found none)",
    // for a tooltip; empty for none.
    static QString describe(const QList<LanguageProblem> &problems);
    static QString describe(const QList<CheckProblem> &problems);
};
