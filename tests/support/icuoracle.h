// The reference reader for .strings text: the entry pattern run by ICU's
// backtracking matcher. Only for checking and measuring StringsReader (tests,
// fuzz target, benchmarks); it is slow on adversarial text. Header-only so
// each of those binaries can include it without a build rule of its own.
#pragma once

#include "model/row.h"

#include <QList>
#include <QStringView>
#include <cstdio>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <unicode/uregex.h>

// Multi-line anchors, and key and value any characters but line terminators.
inline constexpr const char16_t *kIcuEntryPattern =
    u"(?:\\s*/\\*(((?:[^*]|(?:\\*+(?:[^*/])))*))\\*+/\\s*)?\\s*"
    u"(?:^\\s*\"([^\\n\\r\\x{0B}\\x{0C}\\x{85}\\x{2028}\\x{2029}]*)\"\\s*=\\s*"
    u"\"([^\\n\\r\\x{0B}\\x{0C}\\x{85}\\x{2028}\\x{2029}]*)\"\\s*;\\s*$)";

namespace icuoracle {

struct RegexCloser
{
    void operator()(URegularExpression *re) const { uregex_close(re); }
};

inline QString group(URegularExpression *re, int32_t n, QStringView text, UErrorCode &status)
{
    const int32_t start = uregex_start(re, n, &status);
    const int32_t end = uregex_end(re, n, &status);
    if (U_FAILURE(status) || start < 0)
        return QString();
    return text.sliced(start, end - start).toString();
}

} // namespace icuoracle

// Every entry the ICU pattern finds, read as StringsReader reads it (empty
// comments absent). Nothing when ICU reports an error
// such as a backtracking stack overflow.
inline std::optional<QList<Entry>> icuOracleParse(QStringView text)
{
    if (text.isEmpty())
        return QList<Entry>();
    thread_local std::unique_ptr<URegularExpression, icuoracle::RegexCloser> compiled;
    UErrorCode status = U_ZERO_ERROR;
    if (!compiled) {
        UParseError parseError;
        compiled.reset(uregex_open(reinterpret_cast<const UChar *>(kIcuEntryPattern), -1,
            UREGEX_MULTILINE | UREGEX_DOTALL, &parseError, &status));
        if (U_FAILURE(status)) {
            compiled.reset();
            return std::nullopt;
        }
    }
    URegularExpression *re = compiled.get();
    uregex_setText(re, reinterpret_cast<const UChar *>(text.utf16()), int32_t(text.size()), &status);
    QList<Entry> entries;
    while (U_SUCCESS(status) && uregex_findNext(re, &status)) {
        Entry entry;
        entry.key = icuoracle::group(re, 3, text, status);
        entry.value = icuoracle::group(re, 4, text, status);
        const QString comment = icuoracle::group(re, 2, text, status);
        if (!comment.isEmpty())
            entry.comment = comment;
        entries.append(entry);
    }
    // Detach the text: the caller's buffer may go away before the next call.
    UErrorCode resetStatus = U_ZERO_ERROR;
    uregex_setText(re, u"", 0, &resetStatus);
    if (U_FAILURE(status))
        return std::nullopt;
    return entries;
}

// The text with every character outside printable ASCII as \u{XXXX}, so a
// failing input can be pasted back into a test.
inline std::string visible(QStringView text)
{
    std::string out;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0x20 && u < 0x7F && u != u'\\') {
            out += char(u);
        } else {
            char buffer[16];
            std::snprintf(buffer, sizeof buffer, "\\u{%X}", unsigned(u));
            out += buffer;
        }
    }
    return out;
}

inline void PrintTo(const Entry &entry, std::ostream *os)
{
    *os << "{key \"" << visible(entry.key) << "\", value \"" << visible(entry.value) << "\", comment ";
    if (entry.comment)
        *os << "\"" << visible(*entry.comment) << "\"}";
    else
        *os << "absent}";
}
