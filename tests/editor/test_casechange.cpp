// Case changes: locale rules, word boundaries, and the pieces that must not change.
#include "editor/casechange.h"

#include <gtest/gtest.h>

using Kind = CaseChange::Kind;

// The change, the text, its language and the changed text.
using CaseCase = std::tuple<Kind, const char16_t *, const char *, const char16_t *>;

TEST(CaseChange, LocaleWordsEscapesAndFormatSpecifiers)
{
    const CaseCase cases[] = {
        // The locale of the entry's language; names that are no locale, or a
        // hyphenated form, still work.
        {Kind::Upper, u"istanbul", "en", u"ISTANBUL"},
        {Kind::Upper, u"istanbul", "tr", u"\u0130STANBUL"},
        {Kind::Lower, u"DI\u015e", "tr", u"d\u0131\u015f"},
        {Kind::Capitalize, u"ijsland", "nl", u"IJsland"},
        {Kind::Lower, u"TITLE", "Base", u"title"},
        {Kind::Upper, u"stra\u00dfe", "de-DE", u"STRASSE"},
        {Kind::Upper, u"", "en", u""},
        // Words are separated by white space only.
        {Kind::Capitalize, u"hello WORLD", "en", u"Hello World"},
        {Kind::Capitalize, u"  two\tTABS", "en", u"  Two\tTabs"},
        {Kind::Capitalize, u"(quoted) well-known", "en", u"(Quoted) Well-known"},
        // Escapes and format specifiers keep their case.
        {Kind::Upper, u"Line one\\nLine two", "en", u"LINE ONE\\nLINE TWO"},
        {Kind::Capitalize, u"line one\\nline two", "en", u"Line One\\nLine Two"},
        {Kind::Lower, u"Say \\\"HI\\\" \\U2028NOW \\\\N", "en", u"say \\\"hi\\\" \\U2028now \\\\n"},
        {Kind::Upper, u"%d items for %@, %1$@ %.2f %lld%% done %-5s", "en", u"%d ITEMS FOR %@, %1$@ %.2f %lld%% DONE %-5s"},
        {Kind::Lower, u"%D %X %S %@ ITEMS", "en", u"%D %X %S %@ items"},
        {Kind::Capitalize, u"%d new messages", "en", u"%d New Messages"},
        // A percent sign that starts no specifier is plain text.
        {Kind::Upper, u"50% off", "en", u"50% OFF"},
        {Kind::Upper, u"trailing \\", "en", u"TRAILING \\"},
    };
    for (const auto &[kind, in, language, out] : cases)
        EXPECT_EQ(CaseChange::apply(kind, QString::fromUtf16(in), QString::fromUtf8(language)),
                  QString::fromUtf16(out))
            << QString::fromUtf16(in).toStdString();
}
