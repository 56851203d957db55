// StringsReader: the format's rules, ICU's white-space and line-anchor rules,
// and agreement with the ICU pattern on generated text.
#include "icuoracle.h"
#include "model/stringsreader.h"

#include <gtest/gtest.h>

#include <random>

using namespace Qt::StringLiterals;

namespace {

Entry entry(const QString &key, const QString &value, std::optional<QString> comment = std::nullopt)
{
    return Entry{key, value, comment};
}

QList<Entry> parse(const QString &text)
{
    return StringsReader::parse(text);
}

// Compares the reader with ICU on one text; returns a failure description.
testing::AssertionResult agreesWithIcu(const QString &text)
{
    const std::optional<QList<Entry>> expected = icuOracleParse(text);
    if (!expected)
        return testing::AssertionFailure() << "ICU failed on \"" << visible(text) << "\"";
    const QList<Entry> actual = StringsReader::parse(text);
    if (actual == *expected)
        return testing::AssertionSuccess();
    auto failure = testing::AssertionFailure();
    failure << "input \"" << visible(text) << "\"\n  ICU (" << expected->size() << "):";
    for (const Entry &e : *expected)
        failure << " " << testing::PrintToString(e);
    failure << "\n  reader (" << actual.size() << "):";
    for (const Entry &e : actual)
        failure << " " << testing::PrintToString(e);
    return failure;
}

} // namespace

TEST(StringsReader, FormatRules)
{
    EXPECT_EQ(parse("\"k\" = \"v\";"), QList<Entry>{entry("k", "v")});
    EXPECT_EQ(parse("\"k\" = \"\";"), QList<Entry>{entry("k", "")});
    EXPECT_TRUE(parse("\"k\" = \"v\"; // note").isEmpty());
    EXPECT_TRUE(parse("x \"k\" = \"v\";").isEmpty());
    EXPECT_EQ(parse("\"k\"\n= \"v\"\n;\n"), QList<Entry>{entry("k", "v")});
    EXPECT_EQ(parse("\"a\" = \"b\" = \"c\";"), QList<Entry>{entry("a\" = \"b", "c")});
    EXPECT_EQ(parse("\"k\" = \"say \\\"hi\\\"\";"), QList<Entry>{entry("k", "say \\\"hi\\\"")});
    EXPECT_EQ(parse(QString::fromUtf8("\"k\" = \"a\u00A0b\";")),
        QList<Entry>{entry("k", QString::fromUtf8("a\u00A0b"))});
    // Any character but a line terminator may stand between the quotes.
    EXPECT_EQ(parse(QString::fromUtf8("\"k\\t\" = \"a\tb\u3000c\u202Fd\";")),
        QList<Entry>{entry("k\\t", QString::fromUtf8("a\tb\u3000c\u202Fd"))});
    EXPECT_TRUE(parse("\"k\" = \"a\rb\";").isEmpty());
    EXPECT_TRUE(parse(QString::fromUtf8("\"k\" = \"a\u2028b\";")).isEmpty());
}

TEST(StringsReader, Comments)
{
    EXPECT_EQ(parse("/* one */\n/* two */\n\"k\" = \"v\";"), QList<Entry>{entry("k", "v", " two ")});
    EXPECT_EQ(parse("/* line 1\nline 2 */\n\"k\" = \"v\";"),
        QList<Entry>{entry("k", "v", " line 1\nline 2 ")});
    EXPECT_EQ(parse("/**/\n\"k\" = \"v\";"), QList<Entry>{entry("k", "v")});
    EXPECT_EQ(parse("/* a ***/\n\"k\" = \"v\";"), QList<Entry>{entry("k", "v", " a ")});
    EXPECT_EQ(parse("/***/\n\"k\" = \"v\";"), QList<Entry>{entry("k", "v")});
    // A comment on the key's own line does not attach, nor does the key count
    // as starting its line.
    EXPECT_TRUE(parse("/* c */ \"k\" = \"v\";").isEmpty());
    // An entry inside a comment that attaches to nothing is still read.
    EXPECT_EQ(parse("/* x\n\"k\" = \"v\";\n*/"), QList<Entry>{entry("k", "v")});
    EXPECT_EQ(parse("/* c */\n\"k\" = \"\";\n\"j\" = \"w\";"),
              (QList<Entry>{entry("k", "", " c "), entry("j", "w")}));
}

TEST(StringsReader, LineEndsAsIcuSeesThem)
{
    const QList<Entry> two{entry("a", "1"), entry("b", "2")};
    EXPECT_EQ(parse("\"a\" = \"1\";\r\n\"b\" = \"2\";\r\n"), two);
    EXPECT_EQ(parse("\"a\" = \"1\";\r\"b\" = \"2\";"), two);
    EXPECT_EQ(parse(QString::fromUtf8("\"a\" = \"1\";\u0085\"b\" = \"2\";\u2029")), two);
    EXPECT_EQ(parse("\"a\" = \"1\";\v\"b\" = \"2\";\f"), two);
    EXPECT_EQ(parse("/*c*/\r\n\"a\" = \"1\";"), QList<Entry>{entry("a", "1", "c")});
}

TEST(StringsReader, EntryTextsLiveAndChangeIndependently)
{
    // An entry's texts share one allocation; each must still outlive the
    // text read, stay null-terminated and change without touching the others.
    QList<Entry> entries;
    {
        QString text = u"/* note */\n\"key\" = \"value\";\n\"\" = \"v\";"_s;
        entries = parse(text);
        text.fill(u'x');
    }
    ASSERT_EQ(entries, (QList<Entry>{entry("key", "value", " note "), entry("", "v")}));
    Entry changed = entries.first();
    changed.key.append(u"-more"_s);
    changed.value[0] = u'V';
    changed.comment->prepend(u'!');
    EXPECT_EQ(changed, entry("key-more", "Value", "! note "));
    EXPECT_EQ(entries.first(), entry("key", "value", " note "));
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
    int failures = 0;
    const int total = 120000;
    for (int i = 0; i < total && failures < 5; ++i) {
        QString text;
        for (int n = length(random); n > 0; --n)
            text += pieces[pick(random)];
        const testing::AssertionResult result = agreesWithIcu(text);
        if (!result) {
            ADD_FAILURE() << result.message();
            ++failures;
        }
        withEntries += StringsReader::parse(text).isEmpty() ? 0 : 1;
    }
    EXPECT_GT(withEntries, total / 4);
}
