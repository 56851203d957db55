// How rows and texts share storage: a row against a plain map under random
// edits of copies, and key prefixes that share their row key's block.
#include "model/row.h"
#include "model/textblock.h"

#include <gtest/gtest.h>

#include <QMap>
#include <random>

using namespace Qt::StringLiterals;

namespace {

using Reference = QMap<QString, Entry>;

Reference referenceOf(const Row &row)
{
    Reference map;
    for (auto it = row.cbegin(); it != row.cend(); ++it)
        map.insert(it.key(), *it);
    return map;
}

} // namespace

TEST(RowStorage, RandomEditsOfSharedCopiesMatchAMap)
{
    const QStringList languages = {"Base", "de", "en", "en-GB", "fr", "ja", "pt-BR", "zh-Hans"};
    std::mt19937 random(7);
    const auto pick = [&](int n) {
        return int(std::uniform_int_distribution<int>(0, n - 1)(random));
    };
    // Several rows and their references; copies share storage until written.
    std::vector<std::pair<Row, Reference>> rows(4);
    for (int step = 0; step < 4000; ++step) {
        auto &[row, expected] = rows[size_t(pick(int(rows.size())))];
        const QString language = languages.at(pick(int(languages.size())));
        const Entry entry{u"k"_s + QString::number(step), u"v"_s + QString::number(step),
                          std::nullopt};
        switch (pick(8)) {
        case 0:
            row.insert(language, entry);
            expected.insert(language, entry);
            break;
        case 1:
            row[language].value = entry.value;
            expected[language].value = entry.value;
            break;
        case 2:
            EXPECT_EQ(row.remove(language), expected.remove(language));
            break;
        case 3:
            if (const auto it = row.constFind(language); it != row.cend()) {
                const auto next = row.erase(it);
                expected.remove(language);
                EXPECT_EQ(next == row.end(), expected.upperBound(language) == expected.end());
            }
            break;
        case 4:
            if (const auto it = row.find(language); it != row.end()) {
                it->comment = entry.key;
                expected[language].comment = entry.key;
            }
            break;
        case 5: // share with another row, which is then edited on its own
            rows[size_t(pick(int(rows.size())))] = {row, expected};
            break;
        case 6:
            row.reserve(pick(10));
            break;
        case 7:
            for (Entry &e : row)
                e.value += u"!"_s;
            for (Entry &e : expected)
                e.value += u"!"_s;
            break;
        }
        for (const auto &[r, e] : rows) {
            ASSERT_EQ(referenceOf(r), e) << "step " << step;
            ASSERT_EQ(r.keys(), e.keys());
        }
    }
    EXPECT_EQ(Row({{"fr", Entry{"a", "1", {}}}, {"de", Entry{"a", "2", {}}}}),
              Row({{"de", Entry{"a", "2", {}}}, {"fr", Entry{"a", "1", {}}}}));
    EXPECT_NE(Row({{"de", Entry{"a", "2", {}}}}), Row({{"fr", Entry{"a", "2", {}}}}));
}

TEST(RowStorage, KeyPrefixesOutliveAndDetachFromTheirRowKey)
{
    std::optional<TextBlock> block(std::in_place, 64);
    QString rowKey = block->take(u"greeting-Localizable.strings");
    QString other = block->take(u"farewell-Localizable.strings");
    block.reset();
    QString key = TextBlock::prefix(rowKey, 8);
    QString sameKey = TextBlock::prefix(rowKey, 8);
    EXPECT_EQ(key, u"greeting"_s);
    EXPECT_EQ(key.constData(), rowKey.constData()); // shared, not copied
    EXPECT_EQ(TextBlock::prefix(u"static-L.strings"_s, 6), u"static"_s);

    // Writing to a shared prefix copies it and leaves the row key alone.
    sameKey += u"s"_s;
    EXPECT_EQ(sameKey, u"greetings"_s);
    EXPECT_EQ(rowKey, u"greeting-Localizable.strings"_s);
    // Once the row key and its neighbours are gone, the prefix is the block's
    // last holder, and may grow over the room they left.
    rowKey = QString();
    other = QString();
    EXPECT_EQ(key, u"greeting"_s);
    key += u" card"_s;
    EXPECT_EQ(key, u"greeting card"_s);
    EXPECT_EQ(QStringView(key.utf16(), key.size()), u"greeting card"_s);
}
