// HeldText: the escapes between plain and held texts, and the promise that
// every plain text survives the trip through its held form.
#include "model/heldtext.h"
#include "testsupport.h"

#include <gtest/gtest.h>

#include <random>

using namespace Qt::StringLiterals;

TEST(HeldText, Escapes)
{
    const struct
    {
        QString plain;
        QString held;
    } cases[] = {
        {u"plain ünïcode 🙂"_s, u"plain ünïcode 🙂"_s},
        {u"a \"b\" c\\d"_s, u"a \\\"b\\\" c\\\\d"_s},
        {u"1\n2\r\n3\t4"_s, u"1\\n2\\r\\n3\t4"_s},
        {u"'single' stays"_s, u"'single' stays"_s},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(HeldText::fromPlain(c.plain), c.held);
        EXPECT_EQ(HeldText::toPlain(c.held), c.plain);
    }
}

TEST(HeldText, ResolvesEveryEscapeTheStringsFormatKnows)
{
    const struct
    {
        QString held;
        QString plain;
    } cases[] = {
        {u"\\t\\'\\\"\\\\"_s, u"\t'\"\\"_s},
        {u"\\U00e9\\U20AC!"_s, u"é€!"_s},
        {u"\\UD83D\\UDE00"_s, u"😀"_s},
        // Not four hex digits: the U stands for itself.
        {u"\\U12G4 \\U12"_s, u"U12G4 U12"_s},
        {u"\\q\\%"_s, u"q%"_s},
        {u"end\\"_s, u"end\\"_s},
    };
    for (const auto &c : cases)
        EXPECT_EQ(HeldText::toPlain(c.held), c.plain) << c.held.toStdString();
}

TEST(HeldText, RandomPlainTextsSurviveTheRoundTrip)
{
    const QString alphabet = u"ab \\\"'\n\r\tU0123456789ABCDEFnrtq€\u0001"_s;
    std::mt19937 random(11);
    std::uniform_int_distribution<qsizetype> pick(0, alphabet.size() - 1);
    for (int round = 0; round < 3000; ++round) {
        QString plain;
        for (int n = round % 12; n > 0; --n)
            plain += alphabet.at(pick(random));
        EXPECT_EQ(HeldText::toPlain(HeldText::fromPlain(plain)), plain);
    }
}
