// The project reader of .strings text: finds every entry of the form
// "key" = "value"; with its optional /* comment */, keeping escapes as written.
#pragma once

#include "model/row.h"

#include <QList>
#include <QStringView>
#include <limits>
#include <vector>

// Where one entry stands in the text (positions in UTF-16 units). Positions
// fit 32 bits: files are read only up to 256 MiB, and the spans of a large
// file are many.
struct EntrySpan
{
    qint32 start = 0;       // the entry's first unit: "/*" of its comment, or the key's quote
    qint32 keyStart = 0;    // the key's text, inside its quotes (or the bare key)
    qint32 keyEnd = 0;
    qint32 valueStart = 0;  // the value's text, inside its quotes (or the bare value)
    qint32 valueEnd = 0;
    qint32 bodyStart = -1;  // the comment's text, or -1 when the entry has none
    qint32 bodyEnd = -1;
    qint32 end = 0;         // just after the ";"
    // Key and value hold neither a quote nor a backslash (false when unsure).
    bool plain = false;
};

class StringsReader
{
public:
    // The longest text the reader takes; every file the project reads is shorter.
    static constexpr qsizetype MaxUnits = std::numeric_limits<qint32>::max();

    // Entries in file order. Runs in time linear in the text's length. An
    // empty value is an entry with an empty text; an empty comment reads as
    // absent.
    static QList<Entry> parse(QStringView text);
    // The same, with each entry's place in the text.
    static QList<Entry> parse(QStringView text, std::vector<EntrySpan> &spans);
    // The same, with the text searched and its entries made in two parts on
    // two threads, the text split at the first line start at or after `cut`
    // (none when `cut` is 0 or there is no line start after it). parse()
    // splits long texts in the middle.
    static QList<Entry> parseInParts(QStringView text, std::vector<EntrySpan> &spans,
                                     qsizetype cut);
};
