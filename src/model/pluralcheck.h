// The check of plural and catalog rows: categories a language's plural rules
// need, format specifiers against the base text, and texts awaiting review.
#pragma once

#include "model/row.h"

#include <QList>
#include <QString>
#include <QStringList>

struct PluralProblem
{
    QString language;
    // "plural" for a missing category or a specifier mismatch; "review" for
    // a catalog unit whose state is needs_review.
    QString kind;
    QString detail; // short English explanation, such as "lacks few, many (count)"

    friend bool operator==(const PluralProblem &, const PluralProblem &) = default;
};

class PluralCheck
{
public:
    // The problems of a row of a .stringsdict or .xcstrings file (none for
    // other rows), by language in the row's order, for the given languages
    // (all of the row's when empty):
    //  - a plural group (a .stringsdict variable, a catalog "plural" variation)
    //    lacks a category that ICU's plural rules for the language need;
    //  - a text holding format specifiers reads other arguments than the base
    //    entry's text: for a plural category its group's "other" form (the
    //    base's "one" may leave out the number), else the same variant; a text
    //    without any, such as "One file", is accepted;
    //  - a catalog unit is marked needs_review.
    // The base language itself is checked for categories and review only.
    static QList<PluralProblem> check(const QString &rowKey, const Row &row, const QStringList &candidates,
                                      const QStringList &languages = {});
};
