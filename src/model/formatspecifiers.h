// Printf-style format specifiers in held text (%@, %ld, %1$@, %.2f, ...) and the
// comparison that tells whether a translation still reads its base text's arguments.
#pragma once

#include <QList>
#include <QString>
#include <QStringView>
#include <QtGlobal>
#include <optional>

// Length modifiers, by the argument type they select. "q" reads as LongLong; "l"
// before a floating-point conversion has no effect and reads as None.
enum class FormatLength : quint8
{
    None,
    Char,      // hh
    Short,     // h
    Long,      // l
    LongLong,  // ll, q
    Size,      // z
    PtrDiff,   // t
    IntMax,    // j
    LongDouble // L
};

// What one argument must be. Conversions that read the same argument and print
// it alike are one kind: 'd' stands for d and i, and 'x', 'f', 'e', 'g' and 'a'
// also for their capitals, which change only letter case. '@' is an object, and
// '*' a width or precision read from the argument list. Widths, precisions and
// flags change only the rendering and are not part of the kind.
struct FormatKind
{
    FormatLength length = FormatLength::None;
    char16_t conversion = u'd';

    friend bool operator==(const FormatKind &, const FormatKind &) = default;
};

struct FormatSpecifier
{
    // 1-based argument index of the value: its "N$" when positional, otherwise
    // the next unnumbered index (see FormatSpecifiers::parse).
    int argument = 0;
    // Arguments of a "*" width and a "*" precision; 0 when there is none.
    int widthArgument = 0;
    int precisionArgument = 0;
    bool positional = false;
    FormatKind kind;
    // Range in the parsed text, from the '%' to the conversion character.
    qsizetype start = 0;
    qsizetype length = 0;
};

class FormatSpecifiers
{
public:
    // The specifiers of a held text, in text order. The grammar is
    //   % [N$] [flags - + space # 0 '] [width: digits | * | *N$]
    //     [. precision: digits | * | *N$] [hh h l ll q z t j L]
    //     conversion @ d i u f F g G e E x X o c C s S p a A
    // with ASCII characters only, so U+066A ARABIC PERCENT SIGN never starts one.
    // "%%" is a literal percent sign. Backslashes play no part: held escapes are
    // ordinary characters here. A '%' that does not start a specifier is text;
    // to keep plain text such as "50% off", "100 % sicher" or "10%ige" text:
    //  - a flag counts only with a conversion it affects ('+' and space: d i and
    //    floating point; '#': o x and floating point; '0': numeric; '\'': d i u
    //    f g), and a length modifier only with a conversion that takes it;
    //  - a space flag counts only when the specifier also has a position, width,
    //    precision or length modifier and no letter or digit follows it;
    //  - an 'i' conversion directly followed by a letter is text.
    // Unnumbered arguments (values and "*"s) take 1, 2, 3, ... in text order,
    // counting only unnumbered ones, whether or not positional ones are mixed in.
    static QList<FormatSpecifier> parse(QStringView text);

    // Whether the translation reads the same argument list as the base text:
    // the same argument indices, each of the same kind. Order in the text and
    // numbered or unnumbered writing do not matter ("%@ %d" matches "%2$d %1$@");
    // an argument may be used more than once if always with the same kind.
    // Returns at once, without allocating, when neither text holds a '%'.
    static bool matches(QStringView base, QStringView translation);
    // Nothing when matches() holds, else a short English explanation such as
    // "expects %@, %d; found %d" or "argument 2 is %d in the base text, %@ here".
    static std::optional<QString> mismatch(QStringView base, QStringView translation);

    // The kind as written: "%ld", "%@", or "*" for a width or precision argument.
    static QString spelling(FormatKind kind);
};
