// The reference reader for .strings text: the entry pattern run by ICU's
// backtracking matcher. Only for checking StringsReader; it is slow on
// adversarial text.
#pragma once

#include "model/entry.h"

#include <QList>
#include <QStringView>
#include <optional>
#include <ostream>
#include <string>

// Every entry the ICU pattern finds, read as StringsReader reads it (empty
// values dropped, empty comments absent). Nothing when ICU reports an error
// such as a backtracking stack overflow.
std::optional<QList<Entry>> icuOracleParse(QStringView text);

// The pattern run by icuOracleParse, in ICU syntax.
extern const char16_t *const kIcuEntryPattern;

// The text with every character outside printable ASCII as \u{XXXX}, so a
// failing input can be pasted back into a test.
std::string visible(QStringView text);

inline void PrintTo(const Entry &entry, std::ostream *os)
{
    *os << "{key \"" << visible(entry.key) << "\", value \"" << visible(entry.value) << "\", comment ";
    if (entry.comment)
        *os << "\"" << visible(*entry.comment) << "\"}";
    else
        *os << "absent}";
}
