// Reads .strings files as old-style property lists: a flat map of texts with
// every escape resolved (unlike the project reader, which keeps them as
// written). It is the judge of what a .strings file holds: the project reader
// takes from it what its own line rules miss.
#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <optional>

// Keys in the order of their first occurrence, each with its last text.
using PlistStrings = QList<QPair<QString, QString>>;

// One key/value pair as it stands in the text: the texts with escapes
// resolved, and where each part lies (positions in UTF-16 units).
struct PlistPair
{
    QString key;
    QString value;
    qsizetype keyStart = 0;   // the key's first unit: its opening quote, or its first letter
    qsizetype keyEnd = 0;     // just after the key (after its closing quote)
    qsizetype valueStart = 0; // likewise for the value; equal to the key's for "key";
    qsizetype valueEnd = 0;
    qsizetype end = 0;        // just after the ";"
    char16_t keyQuote = 0;    // '"', '\'' or 0 when unquoted
    char16_t valueQuote = 0;
    bool shorthand = false;   // "key"; stands for a text equal to its key
    // The last /* */ comment between the previous pair (or the start) and the
    // key, when only white space lies between it and the key: -1 when none.
    qsizetype commentStart = -1; // at "/*"
    qsizetype commentEnd = -1;   // after "*/"
};

class PlistReader
{
public:
    // Files larger than this are not read.
    static constexpr qint64 MaxFileSize = 64LL * 1024 * 1024;

    // None when the file cannot be read or parse() gives none.
    static std::optional<PlistStrings> readFile(const QString &path);
    // Text decoded as the project reader decodes files (byte-order mark,
    // UTF-8, or UTF-16 recognised by its zero bytes) holding `"key" = "text";`
    // pairs, optionally inside one pair of braces, with /* */ and //
    // comments. Anything else (XML or binary property lists, nested values,
    // malformed or truncated text) gives none.
    static std::optional<PlistStrings> parse(const QByteArray &bytes);
    // The text form of parse(), for text already decoded.
    static std::optional<PlistStrings> parseText(QStringView text);
    // Every pair in text order, duplicates included; none as parseText().
    static std::optional<QList<PlistPair>> parsePairs(QStringView text);

    // White space between the tokens of the grammar: tab, line feed, vertical
    // tab, form feed, carriage return, space, U+2028 and U+2029.
    static bool isBlank(char16_t c)
    {
        return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x2028 || c == 0x2029;
    }
    // Letters, digits and _$/:.- form a key or text without quotes.
    static bool isUnquotedCharacter(char16_t c)
    {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_'
               || c == u'$' || c == u'/' || c == u':' || c == u'.' || c == u'-';
    }
};
