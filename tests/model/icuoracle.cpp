// The ICU form of the .strings entry pattern, kept only as the reference that
// the linear StringsReader is checked against.
#include "icuoracle.h"

#include <unicode/uregex.h>

#include <cstdio>
#include <memory>

const char16_t *const kIcuEntryPattern =
    u"(?:\\s*/\\*(((?:[^*]|(?:\\*+(?:[^*/])))*))\\*+/\\s*)?\\s*"
    u"(?:^\\s*\"([^\\n\\r\\x{0B}\\x{0C}\\x{85}\\x{2028}\\x{2029}]*)\"\\s*=\\s*"
    u"\"([^\\n\\r\\x{0B}\\x{0C}\\x{85}\\x{2028}\\x{2029}]*)\"\\s*;\\s*$)";

namespace {

struct RegexCloser
{
    void operator()(URegularExpression *re) const { uregex_close(re); }
};

QString group(URegularExpression *re, int32_t n, QStringView text, UErrorCode &status)
{
    const int32_t start = uregex_start(re, n, &status);
    const int32_t end = uregex_end(re, n, &status);
    if (U_FAILURE(status) || start < 0)
        return QString();
    return text.sliced(start, end - start).toString();
}

} // namespace

std::optional<QList<Entry>> icuOracleParse(QStringView text)
{
    if (text.isEmpty())
        return QList<Entry>();
    thread_local std::unique_ptr<URegularExpression, RegexCloser> compiled;
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
        entry.key = group(re, 3, text, status);
        entry.value = group(re, 4, text, status);
        const QString comment = group(re, 2, text, status);
        if (!comment.isEmpty())
            entry.comment = comment;
        if (!entry.value.isEmpty())
            entries.append(entry);
    }
    // Detach the text: the caller's buffer may go away before the next call.
    UErrorCode resetStatus = U_ZERO_ERROR;
    uregex_setText(re, u"", 0, &resetStatus);
    if (U_FAILURE(status))
        return std::nullopt;
    return entries;
}

std::string visible(QStringView text)
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
