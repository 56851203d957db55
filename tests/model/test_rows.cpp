// Rows as the editor shows them: status texts, cells, sorting, the filter, the
// title, and the base-language setting in its three forms.
#include "app/settings.h"
#include "model/projectmodel.h"
#include "model/textorder.h"
#include "testsupport.h"

#include <gtest/gtest.h>

namespace {

const QString kEn = QStringLiteral("en");
const QString kDe = QStringLiteral("de");
const QString kFr = QStringLiteral("fr");

Entry entry(const QString &key, const QString &value, std::optional<QString> comment = {})
{
    return Entry{key, value, comment};
}

// Rows of file L.strings: each given as key and language-to-value pairs.
ProjectModel modelWith(const QStringList &languages,
                       const QList<std::pair<QString, QList<std::pair<QString, QString>>>> &rows)
{
    ProjectModel m;
    m.projectURL = QStringLiteral("/p/App");
    m.languages = languages;
    for (const auto &[key, values] : rows) {
        const QString rowKey = key + QStringLiteral("-L.strings");
        for (const auto &[language, value] : values)
            m.data[rowKey][language] = entry(key, value, QStringLiteral(" c ") + key);
        m.mapKeyToFile[rowKey] = QStringLiteral("L.strings");
    }
    return m;
}

const QStringList kDefault{QStringLiteral("Base"), QStringLiteral("en"), QStringLiteral("en-US")};

class Rows : public testing::Test
{
protected:
    void SetUp() override { Settings().remove(Settings::BaseLanguage); Settings().remove(Settings::HideTranslated); }
    void TearDown() override { SetUp(); }
};

} // namespace

TEST_F(Rows, StatusTexts)
{
    const ProjectModel m = modelWith({kEn, kDe, kFr}, {
        {QStringLiteral("only"), {{kEn, QStringLiteral("x")}}},
        {QStringLiteral("diff"), {{kEn, QStringLiteral("a")}, {kDe, QStringLiteral("b")}, {kFr, QStringLiteral("c")}}},
        {QStringLiteral("same"), {{kEn, QStringLiteral("a")}, {kDe, QStringLiteral("a")}, {kFr, QStringLiteral("c")}}},
    });
    EXPECT_EQ(m.statusText(QStringLiteral("only-L.strings")), QStringLiteral("Missing: de, fr"));
    EXPECT_EQ(m.statusText(QStringLiteral("diff-L.strings")), QStringLiteral("OK (1)"));
    EXPECT_EQ(m.statusText(QStringLiteral("same-L.strings")), QStringLiteral("OK (2)"));
    EXPECT_EQ(m.statusText(QStringLiteral("nothing-L.strings")), QStringLiteral("!"));

    const Row noBase{{kDe, entry(QStringLiteral("k"), QStringLiteral("v"))}, {kFr, entry(QStringLiteral("k"), QStringLiteral("v"))}};
    EXPECT_EQ(ProjectModel::statusTextOf(&noBase, {kDe, kFr}, kDefault), QStringLiteral("OK (0)"));
    const Row empty;
    EXPECT_EQ(ProjectModel::statusTextOf(&empty, {kDe, QStringLiteral("at")}, kDefault),
              QStringLiteral("Missing: at, de"));
}

TEST_F(Rows, CellTextsAndUnknownColumn)
{
    ProjectModel m = modelWith({kEn, kDe}, {{QStringLiteral("k"), {{kDe, QStringLiteral("Wert")}, {kEn, QStringLiteral("Value")}}}});
    m.data[QStringLiteral("k-L.strings")][kEn].comment.reset();
    m.keys = {QStringLiteral("k-L.strings"), QStringLiteral("gone-L.strings")};
    EXPECT_EQ(m.cellText(0, QStringLiteral("Key String")), QStringLiteral("k"));
    EXPECT_EQ(m.cellText(0, QStringLiteral("Value String")), QStringLiteral("Value"));
    EXPECT_EQ(m.cellText(0, QStringLiteral("Comment")), QString());
    EXPECT_EQ(m.cellText(0, QStringLiteral("Status")), QStringLiteral("OK (1)"));
    EXPECT_EQ(m.cellText(0, QStringLiteral("File")), QStringLiteral("L.strings"));
    EXPECT_EQ(m.cellText(1, QStringLiteral("Key String")), QString());
    EXPECT_EQ(m.cellText(1, QStringLiteral("Status")), QStringLiteral("!"));
    testing::internal::CaptureStdout();
    EXPECT_EQ(m.cellText(0, QStringLiteral("Bogus")), QString());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Bogus: We shouldn't be here\n");
}

TEST_F(Rows, SortByKeyValueAndStatus)
{
    ProjectModel m = modelWith({kEn, kDe}, {
        {QStringLiteral("Banana"), {{kEn, QStringLiteral("zz")}, {kDe, QStringLiteral("y")}}},
        {QStringLiteral("apple"), {{kEn, QStringLiteral("\u00c9clair")}}},
        {QStringLiteral("cherry"), {{kEn, QStringLiteral("e\u0301clair")}, {kDe, QStringLiteral("e\u0301clair")}}},
        {QStringLiteral("date"), {{kDe, QStringLiteral("a")}}},
    });
    // Ten languages hold the base text of one row.
    for (int i = 0; i < 8; ++i) {
        const QString language = QStringLiteral("x%1").arg(i);
        m.data[QStringLiteral("cherry-L.strings")][language] = entry(QStringLiteral("cherry"), QStringLiteral("e\u0301clair"));
    }
    const QStringList candidates = kDefault;
    m.rebuildKeys({QStringLiteral("Key String"), true}, false, candidates);
    EXPECT_EQ(m.keys, (QStringList{QStringLiteral("apple-L.strings"), QStringLiteral("Banana-L.strings"),
                                   QStringLiteral("cherry-L.strings"), QStringLiteral("date-L.strings")}));
    m.rebuildKeys({QStringLiteral("Key String"), false}, false, candidates);
    EXPECT_EQ(m.keys.first(), QStringLiteral("date-L.strings"));

    // Canonically equivalent values compare equal; rows without a base value go last.
    EXPECT_FALSE(m.lessThan(QStringLiteral("apple-L.strings"), QStringLiteral("cherry-L.strings"),
                            {QStringLiteral("Value String"), true}, candidates));
    EXPECT_FALSE(m.lessThan(QStringLiteral("cherry-L.strings"), QStringLiteral("apple-L.strings"),
                            {QStringLiteral("Value String"), true}, candidates));
    m.rebuildKeys({QStringLiteral("Value String"), false}, false, candidates);
    EXPECT_EQ(m.keys, (QStringList{QStringLiteral("Banana-L.strings"), QStringLiteral("apple-L.strings"),
                                   QStringLiteral("cherry-L.strings"), QStringLiteral("date-L.strings")}));

    // Missing rows first, then OK (2) before OK (10) by number, not by digits.
    m.data[QStringLiteral("Banana-L.strings")][kDe].value = QStringLiteral("zz");
    m.rebuildKeys({QStringLiteral("Status"), true}, false, candidates);
    EXPECT_EQ(m.statusText(QStringLiteral("cherry-L.strings"), candidates), QStringLiteral("OK (10)"));
    EXPECT_EQ(m.keys, (QStringList{QStringLiteral("apple-L.strings"), QStringLiteral("date-L.strings"),
                                   QStringLiteral("Banana-L.strings"), QStringLiteral("cherry-L.strings")}));
    // Columns that do not sort keep the received order.
    m.rebuildKeys({QStringLiteral("Comment"), true}, false, candidates);
    EXPECT_EQ(m.keys.size(), 4);
}

TEST_F(Rows, RefreshFiltersByTheSettingAndTitlesTheWindow)
{
    QList<std::pair<QString, QList<std::pair<QString, QString>>>> rows;
    for (int i = 0; i < 120; ++i) {
        QList<std::pair<QString, QString>> values{{kEn, QStringLiteral("v")}};
        if (i >= 7)
            values.append({kDe, QStringLiteral("w")});
        rows.append({QStringLiteral("k%1").arg(i), values});
    }
    ProjectModel m = modelWith({kEn, kDe}, rows);
    m.refresh();
    EXPECT_EQ(m.title(), QStringLiteral("120 - /p/App"));
    Settings().setValue(Settings::HideTranslated, true);
    m.refresh();
    EXPECT_EQ(m.title(), QStringLiteral("7 - /p/App"));
    for (const QString &rowKey : std::as_const(m.keys))
        EXPECT_TRUE(m.statusText(rowKey).startsWith(QLatin1String("Missing: ")));
}

TEST_F(Rows, BaseLanguageSettingAsListTextOrAbsent)
{
    ProjectModel m = modelWith({QStringLiteral("Base"), kEn, kDe}, {
        {QStringLiteral("both"), {{QStringLiteral("Base"), QStringLiteral("from Base")}, {kEn, QStringLiteral("from en")}}},
        {QStringLiteral("german"), {{kDe, QStringLiteral("aus de")}, {kEn, QStringLiteral("from en")}}},
    });
    EXPECT_EQ(m.baseEntry(QStringLiteral("both-L.strings"))->value, QStringLiteral("from Base"));

    Settings().setValue(Settings::BaseLanguage, QStringLiteral("de"));
    EXPECT_FALSE(m.baseEntry(QStringLiteral("both-L.strings")).has_value());
    EXPECT_EQ(m.baseEntry(QStringLiteral("german-L.strings"))->value, QStringLiteral("aus de"));

    Settings().setValue(Settings::BaseLanguage, QStringList{QStringLiteral("en"), QStringLiteral("de")});
    EXPECT_EQ(m.baseEntry(QStringLiteral("both-L.strings"))->value, QStringLiteral("from en"));
    EXPECT_EQ(m.baseEntry(QStringLiteral("german-L.strings"))->value, QStringLiteral("from en"));
    EXPECT_FALSE(m.baseEntry(QStringLiteral("gone-L.strings")).has_value());
}

TEST_F(Rows, TextOrderByCodePointsAndNumbers)
{
    // U+FF61 is below U+1F600 as a code point, above its first UTF-16 unit.
    EXPECT_TRUE(TextOrder::lessByCodePoints(QStringLiteral("\uFF61"), QStringLiteral("\U0001F600")));
    EXPECT_LT(TextOrder::compareNumeric(QStringLiteral("ok (9)"), QStringLiteral("ok (10)")), 0);
    EXPECT_LT(TextOrder::compareNumeric(QStringLiteral("ok (2)"), QStringLiteral("ok (010)")), 0);
    EXPECT_EQ(TextOrder::compareNumeric(QStringLiteral("a007"), QStringLiteral("a7")), 0);
    EXPECT_LT(TextOrder::compareNumeric(QStringLiteral("missing: de"), QStringLiteral("ok (1)")), 0);
    EXPECT_EQ(TextOrder::sortFold(QStringLiteral("\u00C9T\u00C9")), TextOrder::sortFold(QStringLiteral("e\u0301te\u0301")));
}
