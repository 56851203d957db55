// Checks of a translation against its base text for the mistakes that break or
// visibly garble an app: format specifiers, line breaks, white space at the ends.
#pragma once

#include <QList>
#include <QString>
#include <QStringView>

enum class CheckKind
{
    Format,
    LineBreaks,
    Whitespace,
    // A plural group lacks a category its language needs, or a category's
    // specifiers differ from the base's (plural and catalog rows only).
    Plural
};

struct CheckProblem
{
    CheckKind kind = CheckKind::Format;
    // A short English explanation for the reader of a report.
    QString detail;

    friend bool operator==(const CheckProblem &, const CheckProblem &) = default;
};

class TranslationCheck
{
public:
    // Both texts in held form. At most one problem per kind, in the order
    // Format, LineBreaks, Whitespace. A translation equal to its base text gives
    // none, and so does an empty text on either side: that is a missing
    // translation or base, not a wrong one.
    //  - Format: FormatSpecifiers::mismatch.
    //  - LineBreaks: the counts differ; real line breaks (LF, CR, CRLF, U+2028,
    //    U+2029) count, and so does the escape \n (an escaped \r\n counts once).
    //  - Whitespace: one text starts (or ends) with white space (QChar::isSpace)
    //    and the other does not; the escapes \n, \t and \r count as white space.
    // Allocates nothing unless it finds a problem (or a text reads more than
    // eight arguments).
    static QList<CheckProblem> check(QStringView base, QStringView translation);

    // The kind's name in JSON reports: "format", "linebreaks", "whitespace",
    // "plural".
    static QString name(CheckKind kind);

    // Whether a translation reads the same arguments as its base text, so it
    // may be written without review (machine translation refuses it otherwise).
    static bool specifiersMatch(const QString &base, const QString &translation);
};
