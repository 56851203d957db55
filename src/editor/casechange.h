// Locale-aware changes of case for the bulk commands, which leave backslash
// escape sequences and printf-style format specifiers exactly as written.
#pragma once

#include <QString>

class CaseChange
{
public:
    enum class Kind { Capitalize, Upper, Lower };

    // Changes the case of `text` with the rules of `localeName` (a language
    // name such as "tr", "pt_BR", "zh-Hans"; names that identify no locale get
    // the root rules). Capitalising title-cases the first letter of every word
    // (words are separated by white space, including escaped line breaks and
    // tabs) and lower-cases the rest. Escapes (\n, \", \\, \U2028) and format
    // specifiers (%d, %@, %1$@, %.2f, %lld, %%) are copied unchanged.
    static QString apply(Kind kind, const QString &text, const QString &localeName);
};
