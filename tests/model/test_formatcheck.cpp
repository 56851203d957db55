// Format specifiers and the translation checks: what counts as a specifier,
// which translations are flagged and why, and reordering as a property.
#include "model/formatspecifiers.h"
#include "model/translationcheck.h"
#include "testsupport.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>
#include <tuple>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

// "1:%@ 2:* 3:%d": each argument a specifier reads, in text order.
QString arguments(const QString &text)
{
    QStringList out;
    for (const FormatSpecifier &s : FormatSpecifiers::parse(text)) {
        for (int star : {s.widthArgument, s.precisionArgument}) {
            if (star)
                out << QString::number(star) + u":*"_s;
        }
        out << QString::number(s.argument) + u':' + FormatSpecifiers::spelling(s.kind);
    }
    return out.join(u' ');
}

std::string shown(const QString &base, const QString &translation)
{
    return (base + u" | "_s + translation).toStdString();
}

QList<CheckKind> kinds(const QString &base, const QString &translation)
{
    QList<CheckKind> out;
    for (const CheckProblem &p : TranslationCheck::check(base, translation))
        out << p.kind;
    return out;
}

} // namespace

TEST(FormatSpecifiers, ParsesArgumentsAndKinds)
{
    const std::pair<QString, QString> cases[] = {
        {u"Current architecture: %@"_s, u"1:%@"_s},
        {u"%2$d of %1$ld"_s, u"2:%d 1:%ld"_s},
        {u"%.2f %5.1F %-10s %lf %i %X %qd %hhu %zu %Lg %lc %C %S %p %#o %'d %+.3e %a"_s,
         u"1:%f 2:%f 3:%s 4:%f 5:%d 6:%x 7:%lld 8:%hhu 9:%zu 10:%Lg 11:%lc 12:%C 13:%S 14:%p "
         "15:%o 16:%d 17:%e 18:%a"_s},
        {u"%*d %.*f %3$*1$.*2$f"_s, u"1:* 2:%d 3:* 4:%f 1:* 2:* 3:%f"_s},
        {u"%@ %2$d %@"_s, u"1:%@ 2:%d 2:%@"_s},
        {u"%%%d 100%%d %5%u"_s, u"1:%d 2:%u"_s},
        {u"% 5d %1$ d % .2f %08.3f \\%@"_s, u"1:%d 1:%d 2:%f 3:%f 4:%@"_s},
        // Plain text, broken specifiers and wrong combinations.
        {u"100% | 100% sure | 50% off | 100 % sicher | % d | 10%ige | % 5dx"_s, u""_s},
        {u"@% :معماری کنونی | ٪ @٪ @ | %0$d | %l@ | %hs | %Ld | %+s | %#d | %5 | %*5d"_s, u""_s},
    };
    for (const auto &[text, expected] : cases)
        EXPECT_EQ(arguments(text), expected) << text.toStdString();

    const QList<FormatSpecifier> found = FormatSpecifiers::parse(u"a %% %1$@ b %-5.2lf"_s);
    ASSERT_EQ(found.size(), 2);
    EXPECT_EQ(std::pair(found[0].start, found[0].length), std::pair(qsizetype(5), qsizetype(4)));
    EXPECT_TRUE(found[0].positional);
    EXPECT_EQ(std::pair(found[1].start, found[1].length), std::pair(qsizetype(12), qsizetype(7)));
    EXPECT_FALSE(found[1].positional);
}

TEST(TranslationCheck, FlagsAndExplainsWhatBreaksAndNothingElse)
{
    using enum CheckKind;
    const std::tuple<QString, QString, QList<CheckKind>> cases[] = {
        {u"Current architecture: %@"_s, u"@% :معماری کنونی"_s, {Format}},
        {u"%ld files"_s, u"%d Dateien"_s, {Format}},
        {u"%@ of %@"_s, u"%@"_s, {Format}},
        {u"%1$@ %2$d"_s, u"%1$@ %1$d"_s, {Format}},
        {u"%@ %d"_s, u"%2$@ %1$d"_s, {Format}},
        {u"%*d"_s, u"%d"_s, {Format}},
        {u"Save"_s, u"%@ sichern"_s, {Format}},
        {u"%@ (%d)"_s, u"%@ (%d) %1$@"_s, {}},
        {u"%*d %@"_s, u"%3$@ %2$*1$d"_s, {}},
        {u"%.2f %d %qd"_s, u"%5.1lf %i %lld"_s, {}},
        {u"%d%%"_s, u"%d"_s, {}},
        {u"50% off"_s, u"50 % de réduction"_s, {}},
        {u"Line one\\nLine two"_s, u"Zeile eins, Zeile zwei"_s, {LineBreaks}},
        {u"a\\nb\r\nc"_s, u"a\nb\\r\\nc"_s, {}},
        {u"a\\\\nb"_s, u"ab"_s, {}},
        {u"Name: "_s, u"Nom :"_s, {Whitespace}},
        {u"x"_s, u"\u00A0y"_s, {Whitespace}},
        {u"x\\t"_s, u"y\\t"_s, {}},
        {u"x\\\\t"_s, u"y"_s, {}},
        {u"%@\\n"_s, u"@%"_s, {Format, LineBreaks, Whitespace}},
    };
    for (const auto &[base, translation, expected] : cases) {
        EXPECT_EQ(kinds(base, translation), expected) << shown(base, translation);
        EXPECT_EQ(TranslationCheck::specifiersMatch(base, translation), !expected.contains(Format))
            << shown(base, translation);
    }
    // A missing translation is no problem to report, but nothing to write either.
    EXPECT_TRUE(TranslationCheck::check(u"%@"_s, QString()).isEmpty());
    EXPECT_FALSE(TranslationCheck::specifiersMatch(u"%@"_s, QString()));

    // What each problem says.
    const std::pair<std::pair<QString, QString>, QString> explained[] = {
        {{u"%@, %d"_s, u"%d"_s}, u"expects %@, %d; found %d"_s},
        {{u"Hello"_s, u"%@"_s}, u"expects none; found %@"_s},
        {{u"%1$@ %3$ld"_s, u"%1$@ %2$ld"_s}, u"expects %1$@, %3$ld; found %1$@, %2$ld"_s},
        {{u"%1$@ %2$d"_s, u"%2$@ %1$d"_s}, u"argument 1 is %@ in the base text, %d here"_s},
        {{u"%@"_s, u"%1$@ %1$d"_s}, u"argument 1 is used as both %@ and %d here"_s},
        {{u"a\\nb\\nc"_s, u"abc"_s}, u"2 line breaks in the base text, 0 here"_s},
        {{u" a\\n"_s, u"a\\n "_s}, u"the base text starts with white space, this text does not"_s},
        {{u"a"_s, u"a\t"_s}, u"this text ends with white space, the base text does not"_s},
    };
    for (const auto &[texts, detail] : explained) {
        const QList<CheckProblem> problems = TranslationCheck::check(texts.first, texts.second);
        ASSERT_EQ(problems.size(), 1) << texts.first.toStdString();
        EXPECT_EQ(problems[0].detail, detail);
    }
}

TEST(FormatSpecifiers, ReorderedPositionalCopiesMatchAndDroppingOneIsFlagged)
{
    // Each specifier as written unnumbered in the base text, and an equivalent
    // written with a position in the translation. A leading '*' reads a width.
    const std::pair<QString, QString> specifiers[] = {
        {u"@"_s, u"@"_s},         {u"d"_s, u"i"_s},    {u"ld"_s, u"ld"_s},  {u".2f"_s, u"f"_s},
        {u"5.1f"_s, u"-8.3lf"_s}, {u"-10s"_s, u"s"_s}, {u"qd"_s, u"lld"_s}, {u"x"_s, u"#X"_s},
        {u"hhd"_s, u"hhi"_s},     {u"Lg"_s, u"LG"_s},  {u"+d"_s, u" 5d"_s}, {u"C"_s, u"C"_s},
        {u"*d"_s, u"*d"_s},       {u"*@"_s, u"*@"_s},
    };
    // Text that must never read as a specifier, whatever surrounds it.
    const QString fillers[] = {u" "_s,      u" 100% sure "_s, u" 50% off "_s, u" 100 % sicher "_s,
                               u" %% "_s,   u" 10%ige "_s,    u" ٪ @٪ "_s,    u" \\n "_s,
                               u" % 5dx "_s};
    std::mt19937 random(4711);
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    for (int round = 0; round < 3000; ++round) {
        QString base = fillers[pick(std::size(fillers))];
        QStringList positional;
        int argument = 0;
        for (int n = 1 + pick(6); n > 0; --n) {
            const auto &[unnumbered, numbered] = specifiers[pick(std::size(specifiers))];
            base += u'%' + unnumbered + fillers[pick(std::size(fillers))];
            QString written = numbered;
            if (written.startsWith(u'*'))
                written.insert(1, QString::number(++argument) + u'$');
            positional << u'%' + QString::number(++argument) + u'$' + written;
        }
        std::shuffle(positional.begin(), positional.end(), random);
        const auto translate = [&](const QStringList &parts) {
            QString text = fillers[pick(std::size(fillers))];
            for (const QString &part : parts)
                text += part + fillers[pick(std::size(fillers))];
            return text;
        };
        const QString same = translate(positional);
        ASSERT_TRUE(FormatSpecifiers::matches(base, same)) << shown(base, same);
        ASSERT_FALSE(FormatSpecifiers::mismatch(base, same)) << shown(base, same);
        positional.removeAt(pick(positional.size()));
        const QString dropped = translate(positional);
        ASSERT_FALSE(FormatSpecifiers::matches(base, dropped)) << shown(base, dropped);
        ASSERT_TRUE(FormatSpecifiers::mismatch(base, dropped)) << shown(base, dropped);
    }
}
