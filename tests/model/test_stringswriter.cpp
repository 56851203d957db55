// StringsWriter: the escaping rules and the promise that every block reads
// back through StringsReader as the entry that was written.
#include "icuoracle.h"
#include "model/stringsreader.h"
#include "model/stringswriter.h"

#include <gtest/gtest.h>

#include <random>

using namespace Qt::StringLiterals;

TEST(StringsWriter, LayoutAndEscapes)
{
    EXPECT_EQ(StringsWriter::write({}), u"\n"_s);
    EXPECT_EQ(StringsWriter::write(
                  {Entry{u"hello"_s, u"Hi"_s, u" Greeting "_s}, Entry{u"b"_s, u"B"_s, {}}}),
              u"\n/* Greeting */\n\"hello\" = \"Hi\";\n\n/**/\n\"b\" = \"B\";\n\n"_s);

    EXPECT_EQ(StringsWriter::escapeValue(u"a \"b\" \\\"c\\\""_s), u"a \\\"b\\\" \\\"c\\\""_s);
    EXPECT_EQ(StringsWriter::escapeValue(u"Fish &amp; Chips"_s), u"Fish & Chips"_s);
    EXPECT_EQ(StringsWriter::escapeValue(u"&quot;q&quot; &#10;"_s), u"\\\"q\\\" \\n"_s);
    EXPECT_EQ(StringsWriter::escapeValue(u"1\n2\r3\v4\f5\u00856\u20287\u20298\t9\\"_s),
        u"1\\n2\\r3\\v4\\f5\\U00856\\U20287\\U20298\t9\\\\"_s);
    // Escape pairs stay as written; a backslash before a line break stands
    // for that break; an entity naming a backslash or quote is escaped.
    EXPECT_EQ(StringsWriter::escapeValue(u"\\t \\\n \\U00e9 &#92;n &bsol;&quot;"_s), u"\\t \\n \\U00e9 \\\\n \\\\\\\""_s);
    EXPECT_EQ(StringsWriter::escapeKey(u"a\nb\r\n\"c\" &amp;\\"_s), u"a\\nb\\r\\n\\\"c\\\" &amp;\\\\"_s);
    EXPECT_EQ(StringsWriter::escapeComment(u" a */ b **/ c *"_s), u" a * / b ** / c * "_s);
}

TEST(StringsWriter, RandomEntriesReadBackAsWritten)
{
    const QStringList pieces = {
        u"a"_s, u"Z"_s, u" "_s, u"  "_s, u"\t"_s, u"\""_s, u"\\"_s, u"\\\""_s, u"="_s, u" = "_s,
        u"\" = \""_s, u";"_s, u"\";"_s, u"/*"_s, u"*/"_s, u"*"_s, u"/"_s, u"//"_s, u"\n"_s,
        u"\r"_s, u"\r\n"_s, u"\v"_s, u"\f"_s, u"\u0085"_s, u"\u2028"_s, u"\u2029"_s,
        u"\u00A0"_s, u"\u3000"_s, u"&amp;"_s, u"&#x27;"_s, u"&lt"_s, u"&"_s,
        QString::fromUcs4(U"\U0001F600"),
    };
    std::mt19937 random(7);
    std::uniform_int_distribution<int> pick(0, int(pieces.size()) - 1);
    std::uniform_int_distribution<int> length(0, 8);
    std::bernoulli_distribution hasComment(0.7);
    auto text = [&] {
        QString t;
        for (int n = length(random); n > 0; --n)
            t += pieces[pick(random)];
        return t;
    };
    for (int round = 0; round < 2000; ++round) {
        QList<Entry> entries;
        QList<Entry> expected;
        for (int n = length(random); n > 0; --n) {
            Entry e{text(), text(), {}};
            if (hasComment(random))
                e.comment = text();
            entries.append(e);
            Entry read{StringsWriter::escapeKey(e.key), StringsWriter::escapeValue(e.value), {}};
            if (e.comment && !e.comment->isEmpty())
                read.comment = StringsWriter::escapeComment(*e.comment);
            expected.append(read);
        }
        const QString file = StringsWriter::write(entries);
        ASSERT_EQ(StringsReader::parse(file), expected) << visible(file);
        // The head written straight as bytes is the block's text before its value.
        for (const Entry &e : entries) {
            QString block;
            StringsWriter::appendBlock(block, Entry{e.key, QString(), e.comment});
            QByteArray head;
            StringsWriter::appendHeadUtf8(head, e);
            ASSERT_EQ(QString::fromUtf8(head), block.chopped(4)) << visible(block);
        }
        // Once escaped, a text is written back unchanged.
        for (const Entry &e : expected) {
            ASSERT_EQ(StringsWriter::escapeKey(e.key), e.key);
            ASSERT_EQ(StringsWriter::escapeValue(e.value), e.value) << visible(e.value);
            if (e.comment) {
                ASSERT_EQ(StringsWriter::escapeComment(*e.comment), *e.comment);
            }
        }
    }
}
