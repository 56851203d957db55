// Case changes: locale rules, word boundaries, and the pieces that must not change.
#include "editor/casechange.h"

#include <gtest/gtest.h>

using Kind = CaseChange::Kind;

TEST(CaseChange, FollowsTheLocaleOfTheLanguage)
{
    EXPECT_EQ(CaseChange::apply(Kind::Upper, "istanbul", "en"), "ISTANBUL");
    EXPECT_EQ(CaseChange::apply(Kind::Upper, "istanbul", "tr"), u"\u0130STANBUL");
    EXPECT_EQ(CaseChange::apply(Kind::Lower, QString::fromUtf16(u"DI\u015e"), "tr"), QString::fromUtf16(u"d\u0131\u015f"));
    EXPECT_EQ(CaseChange::apply(Kind::Capitalize, "ijsland", "nl"), "IJsland");
    // Names that are no locale, or a hyphenated form, still work.
    EXPECT_EQ(CaseChange::apply(Kind::Lower, "TITLE", "Base"), "title");
    EXPECT_EQ(CaseChange::apply(Kind::Upper, QString::fromUtf16(u"stra\u00dfe"), "de-DE"), "STRASSE");
    EXPECT_EQ(CaseChange::apply(Kind::Upper, "", "en"), "");
}

TEST(CaseChange, CapitalisesWordsSeparatedByWhiteSpace)
{
    EXPECT_EQ(CaseChange::apply(Kind::Capitalize, "hello WORLD", "en"), "Hello World");
    EXPECT_EQ(CaseChange::apply(Kind::Capitalize, "  two\tTABS", "en"), "  Two\tTabs");
    EXPECT_EQ(CaseChange::apply(Kind::Capitalize, "(quoted) well-known", "en"),
              "(Quoted) Well-known");
}

TEST(CaseChange, KeepsEscapesAndFormatSpecifiers)
{
    EXPECT_EQ(CaseChange::apply(Kind::Upper, "Line one\\nLine two", "en"), "LINE ONE\\nLINE TWO");
    EXPECT_EQ(CaseChange::apply(Kind::Capitalize, "line one\\nline two", "en"),
              "Line One\\nLine Two");
    EXPECT_EQ(CaseChange::apply(Kind::Lower, "Say \\\"HI\\\" \\U2028NOW \\\\N", "en"),
              "say \\\"hi\\\" \\U2028now \\\\n");
    EXPECT_EQ(CaseChange::apply(Kind::Upper, "%d items for %@, %1$@ %.2f %lld%% done %-5s", "en"),
              "%d ITEMS FOR %@, %1$@ %.2f %lld%% DONE %-5s");
    EXPECT_EQ(CaseChange::apply(Kind::Lower, "%D %X %S %@ ITEMS", "en"), "%D %X %S %@ items");
    EXPECT_EQ(CaseChange::apply(Kind::Capitalize, "%d new messages", "en"), "%d New Messages");
    // A percent sign that starts no specifier is plain text.
    EXPECT_EQ(CaseChange::apply(Kind::Upper, "50% off", "en"), "50% OFF");
    EXPECT_EQ(CaseChange::apply(Kind::Upper, "trailing \\", "en"), "TRAILING \\");
}
