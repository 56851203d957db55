// HeldText: the escapes between plain and held texts, and the promise that
// every plain text survives the trip through its held form.
#include "model/heldtext.h"
#include "testsupport.h"

#include <gtest/gtest.h>

#include <random>

using namespace Qt::StringLiterals;

TEST(HeldText, EscapesAndRandomPlainTextsSurviveTheRoundTrip)
{
    // Plain text, held text, and whether fromPlain writes it (not only toPlain reads it).
    const std::tuple<QString, QString, bool> cases[] = {
        {u"plain ünïcode 🙂 'single'"_s, u"plain ünïcode 🙂 'single'"_s, true},
        {u"a \"b\" c\\d"_s, u"a \\\"b\\\" c\\\\d"_s, true},
        {u"1\n2\r\n3\t4"_s, u"1\\n2\\r\\n3\t4"_s, true},
        {u"\t'\"\\"_s, u"\\t\\'\\\"\\\\"_s, false},
        {u"é€!😀"_s, u"\\U00e9\\U20AC!\\UD83D\\UDE00"_s, false},
        // Up to four hex digits; without any the U stands for itself.
        {u"\u0012G4 \u0012 q% U"_s, u"\\U12G4 \\U12 \\q\\% \\U"_s, false},
        // Up to three octal digits.
        {u"A\u0007 \u00098"_s, u"\\101\\7 \\0118"_s, false},
        {u"end\\"_s, u"end\\"_s, false},
    };
    for (const auto &[plain, held, canonical] : cases) {
        EXPECT_EQ(HeldText::toPlain(held), plain) << held.toStdString();
        if (canonical) {
            EXPECT_EQ(HeldText::fromPlain(plain), held);
        }
    }

    // Random plain texts survive the round trip.
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
