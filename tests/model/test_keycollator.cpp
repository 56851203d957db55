// KeyCollator::order, which sorts through a few bytes of each sort key (in
// parallel pieces for many texts), against a plain sort by compare().
#include "model/keycollator.h"

#include <QRandomGenerator>
#include <QStringList>
#include <algorithm>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(KeyCollator, OrderAgreesWithCompareForFewAndManyTexts)
{
    const QStringList parts = {u"screen."_s, u"title"_s, u"Title"_s, u"TITLE"_s, u"-"_s,   u"_"_s,
                               u"."_s,       u"2"_s,     u"10"_s,    u"\u00e9"_s, u"e"_s,   u"E"_s,
                               u"\u00df"_s,  u"ss"_s,    u"\u00c5"_s, u"\u65e5"_s, u" "_s,  u"\U0001F600"_s};
    QRandomGenerator random(11);
    for (const QString &locale : {u"en"_s, u"de"_s, u"sv"_s}) {
        const KeyCollator collator(locale);
        // Keys sharing a long start, some of them (too few for a sample to
        // catch every time) sharing less of it or none.
        for (const auto &[count, rare] : {std::pair{0, 0}, {1, 0}, {300, 0}, {300, 40}, {40000, 0}, {40000, 997}}) {
            QStringList texts;
            for (int i = 0; i < count; ++i) {
                QString text = rare && random.bounded(rare) == 0 ? parts.at(random.bounded(int(parts.size())))
                                                                 : u"screen.section.title."_s;
                for (int p = int(random.bounded(6)); p >= 0; --p)
                    text += parts.at(random.bounded(int(parts.size())));
                texts << text;
            }
            // Texts that collate alike but differ in code units, and duplicates.
            if (count > 1)
                texts << u"screen.e\u0301"_s << u"screen.\u00e9"_s << texts.first();
            QStringList expected = texts;
            std::stable_sort(expected.begin(), expected.end(),
                             [&](const QString &a, const QString &b) { return collator.compare(a, b) < 0; });
            std::vector<const QString *> pointers;
            for (const QString &text : std::as_const(texts))
                pointers.push_back(&text);
            QStringList sorted;
            for (const quint32 i : collator.order(pointers))
                sorted << texts.at(i);
            ASSERT_EQ(sorted, expected) << locale.toStdString() << " " << count << " " << rare;
        }
    }
}
