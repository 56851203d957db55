// Rows as the editor shows them: status texts, cells, sorting, the filter, the
// title, and the base-language setting in its three forms.
#include "common/settings.h"
#include "model/projectmodel.h"
#include "model/textorder.h"
#include "testsupport.h"

#include <gtest/gtest.h>

namespace {

const QString kEn = "en";
const QString kDe = "de";
const QString kFr = "fr";

// Rows of file L.strings: each given as key and language-to-value pairs.
ProjectModel modelWith(const QStringList &languages,
                       const QList<std::pair<QString, QList<std::pair<QString, QString>>>> &rows)
{
    ProjectModel m;
    m.projectURL = "/p/App";
    m.languages = languages;
    for (const auto &[key, values] : rows) {
        const QString rowKey = key + "-L.strings";
        for (const auto &[language, value] : values)
            m.data[rowKey][language] = Entry{key, value, " c " + key};
        m.mapKeyToFile.insert(rowKey, "L.strings");
    }
    return m;
}

const QStringList kDefault{"Base", "en", "en-US"};

class Rows : public testing::Test
{
protected:
    void SetUp() override { Settings().remove(Settings::BaseLanguage); Settings().remove(Settings::HideTranslated); }
    void TearDown() override { SetUp(); }
};

} // namespace

TEST_F(Rows, StatusAndCellTexts)
{
    const ProjectModel m = modelWith({kEn, kDe, kFr}, {
        {"only", {{kEn, "x"}}},
        {"diff", {{kEn, "a"}, {kDe, "b"}, {kFr, "c"}}},
        {"same", {{kEn, "a"}, {kDe, "a"}, {kFr, "c"}}},
    });
    EXPECT_EQ(m.statusText("only-L.strings"), "Missing: de, fr");
    EXPECT_EQ(m.statusText("diff-L.strings"), "OK (1)");
    EXPECT_EQ(m.statusText("same-L.strings"), "OK (2)");
    EXPECT_EQ(m.statusText("nothing-L.strings"), "!");

    const Row noBase{{kDe, Entry{"k", "v", {}}}, {kFr, Entry{"k", "v", {}}}};
    EXPECT_EQ(ProjectModel::statusTextOf(&noBase, {kDe, kFr}, kDefault), "OK (0)");
    const Row empty;
    EXPECT_EQ(ProjectModel::statusTextOf(&empty, {kDe, "at"}, kDefault), "Missing: at, de");

    ProjectModel cells = modelWith({kEn, kDe}, {{"k", {{kDe, "Wert"}, {kEn, "Value"}}}});
    cells.data["k-L.strings"][kEn].comment.reset();
    cells.keys = {"k-L.strings", "gone-L.strings"};
    EXPECT_EQ(cells.cellText(0, Column::Key), "k");
    EXPECT_EQ(cells.cellText(0, Column::Value), "Value");
    EXPECT_EQ(cells.cellText(0, Column::Comment), QString());
    EXPECT_EQ(cells.cellText(0, Column::Status), "OK (1)");
    EXPECT_EQ(cells.cellText(0, Column::File), "L.strings");
    EXPECT_EQ(cells.cellText(1, Column::Key), QString());
    EXPECT_EQ(cells.cellText(1, Column::Status), "!");
}

TEST_F(Rows, SortByStatusEquivalentValuesAndTextOrder)
{
    ProjectModel m = modelWith({kEn, kDe}, {
        {"Banana", {{kEn, "zz"}, {kDe, "y"}}},
        {"apple", {{kEn, "\u00c9clair"}}},
        {"cherry", {{kEn, "e\u0301clair"}, {kDe, "e\u0301clair"}}},
        {"date", {{kDe, "a"}}},
    });
    // Ten languages hold the base text of one row.
    for (int i = 0; i < 8; ++i) {
        const QString language = QStringLiteral("x%1").arg(i);
        m.languages.append(language);
        m.data["cherry-L.strings"][language] = Entry{"cherry", "e\u0301clair", {}};
    }
    const QStringList candidates = kDefault;
    // Canonically equivalent values compare equal (the order as a whole is
    // checked against a plain comparison below).
    EXPECT_FALSE(m.lessThan("apple-L.strings", "cherry-L.strings",
                            {Column::Value, true}, candidates));
    EXPECT_FALSE(
        m.lessThan("cherry-L.strings", "apple-L.strings", {Column::Value, true}, candidates));

    // Missing rows first, then OK (2) before OK (10) by number, not by digits.
    m.data["Banana-L.strings"][kDe].value = "zz";
    m.rebuildKeys({Column::Status, true}, false, candidates);
    EXPECT_EQ(m.statusText("cherry-L.strings", candidates), "OK (10)");
    EXPECT_EQ(m.keys, (QStringList{"apple-L.strings", "date-L.strings",
                                   "Banana-L.strings", "cherry-L.strings"}));
    // Columns that do not sort keep the received order.
    m.rebuildKeys({Column::Comment, true}, false, candidates);
    EXPECT_EQ(m.keys.size(), 4);

    // U+FF61 is below U+1F600 as a code point, above its first UTF-16 unit.
    EXPECT_TRUE(TextOrder::lessByCodePoints(u"\uFF61", u"\U0001F600"));
    EXPECT_LT(TextOrder::compareNumeric(u"ok (9)", u"ok (10)"), 0);
    EXPECT_LT(TextOrder::compareNumeric(u"ok (2)", u"ok (010)"), 0);
    EXPECT_EQ(TextOrder::compareNumeric(u"a007", u"a7"), 0);
    EXPECT_LT(TextOrder::compareNumeric(u"missing: de", u"ok (1)"), 0);
    EXPECT_EQ(TextOrder::sortFold("\u00C9T\u00C9"), TextOrder::sortFold("e\u0301te\u0301"));
}

TEST_F(Rows, HidingTranslatedRowsFiltersAndRetitles)
{
    QList<std::pair<QString, QList<std::pair<QString, QString>>>> rows;
    // The first seven rows have no German text.
    for (int i = 0; i < 120; ++i)
        rows.append({QStringLiteral("k%1").arg(i), {{kEn, "v"}, {i < 7 ? kEn : kDe, "w"}}});
    ProjectModel m = modelWith({kEn, kDe}, rows);
    m.rebuildKeys({}, false);
    EXPECT_EQ(m.title(), "120 - /p/App");
    m.rebuildKeys({}, true);
    EXPECT_EQ(m.title(), "7 - /p/App");
    for (const QString &rowKey : std::as_const(m.keys))
        EXPECT_TRUE(m.statusText(rowKey).startsWith(QLatin1String("Missing: ")));
}

TEST_F(Rows, BaseLanguageSettingAsListTextOrAbsent)
{
    ProjectModel m = modelWith({"Base", kEn, kDe}, {
        {"both", {{"Base", "from Base"}, {kEn, "from en"}}},
        {"german", {{kDe, "aus de"}, {kEn, "from en"}}},
    });
    EXPECT_EQ(m.baseEntry("both-L.strings")->value, "from Base");

    // Read anew each time, as the app hands them to the model.
    m.baseLanguages = [] { return Settings::baseLanguageCandidates(); };
    Settings().setValue(Settings::BaseLanguage, "de");
    EXPECT_FALSE(m.baseEntry("both-L.strings").has_value());
    EXPECT_EQ(m.baseEntry("german-L.strings")->value, "aus de");

    Settings().setValue(Settings::BaseLanguage, QStringList{"en", "de"});
    EXPECT_EQ(m.baseEntry("both-L.strings")->value, "from en");
    EXPECT_EQ(m.baseEntry("german-L.strings")->value, "from en");
    EXPECT_FALSE(m.baseEntry("gone-L.strings").has_value());
}

// The sort compares short heads of the texts and folds Latin-1 texts by
// table; both must give the order of the plain comparison: the code points
// of the folded texts, ties by row key, rows without a base value last.
TEST_F(Rows, SortOrderMatchesFoldedComparison)
{
    const QStringList pieces{"a", "B", "ab", "screen.title.", "\u00C9", "e\u0301", "\u00DF", "ss",
                             "\u00FF", "\u0130", "\u03A3", "\U0001F600", "", "0", "\u00B5", "Z"};
    ProjectModel m = modelWith({kEn, kDe}, {});
    quint32 seed = 7;
    const auto next = [&seed](qsizetype n) {
        return qsizetype((seed = seed * 1103515245u + 12345u) >> 16) % n;
    };
    for (int i = 0; i < 2000; ++i) {
        QString key = "screen.title.";
        QString value;
        for (qsizetype n = next(5); n > 0; --n) {
            key += pieces.at(next(pieces.size()));
            value += pieces.at(next(pieces.size()));
        }
        m.data[key + QString::number(i % 3) + "-L.strings"][next(8) ? kEn : kDe] =
            Entry{key, value, {}};
    }
    for (int i = 0; i < 400; ++i) {
        QString latin1;
        for (int k = 0; k < 6; ++k)
            latin1 += QChar(char16_t(next(256)));
        EXPECT_EQ(TextOrder::sortKey(latin1), TextOrder::sortFold(latin1).toUtf8()) << latin1.toStdString();
    }
    for (const Column column : {Column::Key, Column::Value})
        for (const bool ascending : {true, false}) {
            const auto folded = [&](const QString &rowKey) -> std::optional<QString> {
                if (column == Column::Key)
                    return TextOrder::sortFold(rowKey);
                const std::optional<Entry> base = m.baseEntry(rowKey);
                return base ? std::optional(TextOrder::sortFold(base->value)) : std::nullopt;
            };
            m.rebuildKeys({column, ascending}, false, kDefault);
            QStringList expected = m.data.keys();
            std::sort(expected.begin(), expected.end(), [&](const QString &a, const QString &b) {
                const std::optional<QString> fa = folded(a), fb = folded(b);
                if (bool(fa) != bool(fb))
                    return bool(fa);
                const int c = fa ? TextOrder::compareCodePoints(*fa, *fb) : 0;
                return c != 0 ? (ascending ? c < 0 : c > 0) : a < b;
            });
            EXPECT_EQ(m.keys, expected) << int(column) << ascending;
        }
    // A filter keeps the order of the rows it keeps.
    m.rebuildKeys({Column::Value, true}, false, kDefault);
    QStringList expected = m.keys;
    expected.removeIf([](const QString &rowKey) { return !rowKey.contains(u'\u00DF'); });
    m.rebuildKeys({Column::Value, true}, false, kDefault,
                  [](const QString &rowKey, const Row &) { return rowKey.contains(u'\u00DF'); });
    EXPECT_EQ(m.keys, expected);
}
