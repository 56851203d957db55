// StringsReader: the format's rules, ICU's white-space and line-anchor rules,
// and agreement with the ICU pattern on generated text.
#include "icuoracle.h"
#include "model/stringsreader.h"

#include <gtest/gtest.h>

#include <random>

using namespace Qt::StringLiterals;

namespace {

// Compares the reader with ICU on one text; returns a failure description.
testing::AssertionResult agreesWithIcu(const QString &text)
{
    const std::optional<QList<Entry>> expected = icuOracleParse(text);
    if (!expected)
        return testing::AssertionFailure() << "ICU failed on \"" << visible(text) << "\"";
    const QList<Entry> actual = StringsReader::parse(text);
    if (actual == *expected)
        return testing::AssertionSuccess();
    return testing::AssertionFailure()
           << "input \"" << visible(text) << "\"\n  ICU: " << testing::PrintToString(*expected)
           << "\n  reader: " << testing::PrintToString(actual);
}

} // namespace

TEST(StringsReader, FormatCommentAndLineEndShapesAgreeWithIcu)
{
    // Shapes the generated texts below reach only by chance, checked on every run.
    const QStringList shapes = {
        u"\"k\" = \"\";"_s, u"\"k\" = \"v\"; // note"_s, u"x \"k\" = \"v\";"_s,
        u"\"k\"\n= \"v\"\n;\n"_s, u"\"a\" = \"b\" = \"c\";"_s, u"\"k\" = \"say \\\"hi\\\"\";"_s,
        u"\"k\\t\" = \"a\tb\u3000c\u202Fd\u00A0\";"_s, u"\"k\" = \"a\rb\";"_s,
        u"\"k\" = \"a\u2028b\";"_s, u"/* one */\n/* two */\n\"k\" = \"v\";"_s,
        u"/* line 1\nline 2 */\n\"k\" = \"v\";"_s, u"/**/\n\"k\" = \"v\";"_s,
        u"/* a ***/\n\"k\" = \"v\";"_s, u"/***/\n\"k\" = \"v\";"_s, u"/* c */ \"k\" = \"v\";"_s,
        u"/* x\n\"k\" = \"v\";\n*/"_s, u"/* c */\n\"k\" = \"\";\n\"j\" = \"w\";"_s,
        u"\"a\" = \"1\";\r\n\"b\" = \"2\";\r\n"_s, u"\"a\" = \"1\";\r\"b\" = \"2\";"_s,
        u"\"a\" = \"1\";\u0085\"b\" = \"2\";\u2029"_s, u"\"a\" = \"1\";\v\"b\" = \"2\";\f"_s,
        u"/*c*/\r\n\"a\" = \"1\";"_s,
    };
    for (const QString &shape : shapes)
        EXPECT_TRUE(agreesWithIcu(shape));
    // The oracle agreeing on nothing would pass every shape: a few are pinned.
    EXPECT_EQ(StringsReader::parse(u"\"a\" = \"b\" = \"c\";"_s),
              (QList<Entry>{Entry{"a\" = \"b", "c", {}}}));
    EXPECT_EQ(StringsReader::parse(u"/* one */\n/* two */\n\"k\" = \"v\";"_s),
              (QList<Entry>{Entry{"k", "v", " two "}}));
    EXPECT_TRUE(StringsReader::parse(u"/* c */ \"k\" = \"v\";"_s).isEmpty());
}

TEST(StringsReader, EntryTextsLiveAndChangeIndependently)
{
    // A file's texts share one allocation; each must still outlive the
    // text read, stay null-terminated and change without touching the others.
    QList<Entry> entries;
    {
        QString text = u"/* note */\n\"key\" = \"value\";\n\"\" = \"v\";"_s;
        entries = StringsReader::parse(text);
        text.fill(u'x');
    }
    ASSERT_EQ(entries, (QList<Entry>{Entry{"key", "value", " note "}, Entry{"", "v", {}}}));
    Entry changed = entries.first();
    changed.key.append(u"-more"_s);
    changed.value[0] = u'V';
    changed.comment->prepend(u'!');
    EXPECT_EQ(changed, (Entry{"key-more", "Value", "! note "}));
    EXPECT_EQ(entries.first(), (Entry{"key", "value", " note "}));
    EXPECT_EQ(entries.first().value.utf16()[5], u'\0');

    // Once the last holder of the allocation, a text may grow over the others.
    QString key = entries.first().key;
    entries.clear();
    key.append(u"s and more"_s);
    EXPECT_EQ(key, u"keys and more"_s);
}

TEST(StringsReader, EveryBmpCharacterAgreesWithIcu)
{
    // Each code unit stands as separator, key and value text and line end,
    // which pins down the white-space and line-terminator sets.
    for (char32_t u = 0; u <= 0xFFFF; ++u) {
        const QChar c(char16_t(u & 0xFFFF));
        QString text = u"x"_s;
        text += c + u"\"k\" =\"v"_s + c + u"\";"_s + c + u"\"a"_s + c + u"\""_s + c + u"= \"b\";"_s;
        ASSERT_TRUE(agreesWithIcu(text)) << "code unit " << unsigned(u);
    }
}

TEST(StringsReader, AgreesWithIcuOnGeneratedText)
{
    // Pieces weighted towards entry shapes, so that most texts hold entries.
    const QStringList pieces = {
        u"\""_s, u"\""_s, u"\""_s, u"="_s, u"="_s, u";"_s, u";"_s, u"/*"_s, u"*/"_s,
        u"*"_s, u"/"_s, u"\\"_s, u"\\\""_s, u" "_s, u" "_s, u"\u00A0"_s, u"\t"_s,
        u"\n"_s, u"\n"_s, u"\n"_s, u"\r"_s, u"\r\n"_s, u"\r\n"_s, u"\v"_s, u"\f"_s,
        u"\u0085"_s, u"\u2028"_s, u"\u2029"_s, u"\u3000"_s, u"k"_s, u"v"_s, u"ab"_s,
        QString::fromUcs4(U"\U0001F600"), u"//"_s, u"\"k\""_s, u"\"v\""_s, u" = "_s,
        u"\"k\" = \"v\";"_s, u"\"k\" = \"v\";\n"_s, u"\n\"a\" = \"b\";\n"_s, u"/* c */"_s,
        u"/* c */\n"_s, u"\";"_s, u"\" = \""_s, u"x\" = \""_s, u"**/"_s, u"\"\";"_s,
    };
    std::mt19937 random(20261206);
    std::uniform_int_distribution<int> pick(0, int(pieces.size()) - 1);
    std::uniform_int_distribution<int> length(0, 60);
    int withEntries = 0;
    const int total = 120000;
    for (int i = 0; i < total; ++i) {
        QString text;
        for (int n = length(random); n > 0; --n)
            text += pieces[pick(random)];
        ASSERT_TRUE(agreesWithIcu(text));
        withEntries += StringsReader::parse(text).isEmpty() ? 0 : 1;
    }
    EXPECT_GT(withEntries, total / 4);
}

TEST(StringsReader, ReadingInTwoPartsFindsWhatOneReadingFinds)
{
    // The second part's search starts at a line start that the first part's
    // search may cross inside a comment, a value over several lines or a
    // match that ends later: every cut must give the same entries and spans.
    const QStringList pieces = {u"\"k\" = \"v\";\n"_s,
                                u"\"a\" = \"b\";\r\n"_s,
                                u"/* c */\n"_s,
                                u"/* c\n"_s,
                                u"*/\n"_s,
                                u"\"k\"\n= \"v\"\n;\n"_s,
                                u"\"k\" = \"v\"\n"_s,
                                u";\n"_s,
                                u"\n\n"_s,
                                u"\r"_s,
                                u"\u2028"_s,
                                u"\"x\" = \"a\\\"b\";\n"_s,
                                u"junk\n"_s,
                                u"\" = \""_s,
                                u"\"\";\n"_s,
                                u"  "_s,
                                u"//\n"_s};
    std::mt19937 random(20261207);
    std::uniform_int_distribution<int> pick(0, int(pieces.size()) - 1);
    std::uniform_int_distribution<int> length(1, 40);
    const auto sameSpans = [](const std::vector<EntrySpan> &a, const std::vector<EntrySpan> &b) {
        return std::equal(a.cbegin(), a.cend(), b.cbegin(), b.cend(),
                          [](const auto &x, const auto &y) {
                              return std::tie(x.start, x.keyStart, x.keyEnd, x.valueStart,
                                              x.valueEnd, x.bodyStart, x.bodyEnd, x.end, x.plain) ==
                                     std::tie(y.start, y.keyStart, y.keyEnd, y.valueStart,
                                              y.valueEnd, y.bodyStart, y.bodyEnd, y.end, y.plain);
                          });
    };
    int split = 0;
    for (int i = 0; i < 2000; ++i) {
        QString text;
        for (int n = length(random); n > 0; --n)
            text += pieces[pick(random)];
        std::vector<EntrySpan> expectedSpans;
        const QList<Entry> expected = StringsReader::parse(text, expectedSpans);
        std::uniform_int_distribution<qsizetype> place(1, text.size());
        for (int c = 0; c < 12; ++c) {
            const qsizetype cut = place(random);
            std::vector<EntrySpan> spans;
            const QList<Entry> entries = StringsReader::parseInParts(text, spans, cut);
            ASSERT_EQ(entries, expected) << "cut " << cut << " of \"" << visible(text) << "\"";
            ASSERT_TRUE(sameSpans(spans, expectedSpans))
                << "cut " << cut << " of \"" << visible(text) << "\"";
            split += expected.size() > 1 ? 1 : 0;
        }
    }
    EXPECT_GT(split, 15000);
}
