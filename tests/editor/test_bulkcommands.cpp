// The seven bulk commands on a project on disk.
#include "editor/bulkcommands.h"
#include "editorfixture.h"

using BulkCommandsTest = EditorFixture;

TEST_F(BulkCommandsTest, CaseChangesUseEachEntrysLanguageAndSaveOnce)
{
    write("en", "\"city\" = \"istanbul\";\n\"count\" = \"%d new items\\nnow\";\n\"x\" = \"keep me\";\n");
    write("tr", "\"city\" = \"istanbul\";\n\"count\" = \"%d yeni öğe\";\n");
    ProjectModel model = load();
    const QList<int> selection{indexOf(model, "city-Localizable.strings"),
                               indexOf(model, "count-Localizable.strings")};

    CommandOutcome outcome = BulkCommands::upperCaase(model, selection);
    EXPECT_EQ(outcome.saves, 1);
    EXPECT_EQ(outcome.reloads, 1);
    EXPECT_TRUE(read("en").contains("\"city\" = \"ISTANBUL\";"));
    EXPECT_TRUE(read("tr").contains(u"\"city\" = \"\u0130STANBUL\";"));
    EXPECT_TRUE(read("en").contains("\"count\" = \"%d NEW ITEMS\\nNOW\";"));
    EXPECT_TRUE(read("en").contains("\"x\" = \"keep me\";"));

    BulkCommands::capitalize(model, selection);
    EXPECT_TRUE(read("en").contains("\"count\" = \"%d New Items\\nNow\";"));
    BulkCommands::lowerCase(model, selection);
    EXPECT_TRUE(read("tr").contains(u"\"city\" = \"istanbul\";"));
    EXPECT_EQ(model.data.value("count-Localizable.strings").value("tr").value,
              u"%d yeni \u00f6\u011fe");

    removeProbe("en");
    EXPECT_TRUE(BulkCommands::upperCaase(model, {}).changedNothing());
    EXPECT_TRUE(BulkCommands::deleteTranslation(model, {}).changedNothing());
    EXPECT_TRUE(BulkCommands::deleteString(model, {}).changedNothing());
    EXPECT_FALSE(saved("en"));
}

TEST_F(BulkCommandsTest, CopyCommandsFillProjectLanguagesAndSaveAfterEachRow)
{
    write("en", "/*Answer*/\n\"yes\" = \"Yes\";\n\"no\" = \"No\";\n");
    write("de", "\"yes\" = \"Ja\";\n\"orphan\" = \"Waise\";\n");
    write("fr", "\n");
    ProjectModel model = load();
    const int yes = indexOf(model, "yes-Localizable.strings");
    const int no = indexOf(model, "no-Localizable.strings");
    const int orphan = indexOf(model, "orphan-Localizable.strings");

    CommandOutcome outcome = BulkCommands::copyMissingFromBase(model, {yes});
    EXPECT_EQ(outcome.saves, 1);
    EXPECT_TRUE(read("de").contains("\"yes\" = \"Ja\";"));
    EXPECT_TRUE(read("fr").contains("/*Answer*/\n\"yes\" = \"Yes\";"));

    // Rows without a base entry are skipped and cause no save.
    removeProbe("fr");
    EXPECT_TRUE(BulkCommands::copyBase(model, {orphan}).changedNothing());
    EXPECT_FALSE(saved("fr"));

    QList<int> rows{yes, no, orphan};
    std::sort(rows.begin(), rows.end());
    outcome = BulkCommands::copyBase(model, rows);
    EXPECT_EQ(outcome.saves, 2);
    EXPECT_EQ(outcome.reloads, 2);
    EXPECT_TRUE(read("de").contains("/*Answer*/\n\"yes\" = \"Yes\";"));
    EXPECT_TRUE(read("fr").contains("\"no\" = \"No\";"));
    EXPECT_EQ(model.data.value("yes-Localizable.strings").keys(), (QStringList{"de", "en", "fr"}));
}

TEST_F(BulkCommandsTest, DeleteTranslationKeepsTheCandidates)
{
    write("Base", "\"t\" = \"Title\";\n");
    write("en", "\"t\" = \"Title\";\n");
    write("de", "\"t\" = \"Titel\";\n");
    ProjectModel model = load();
    const int t = indexOf(model, "t-Localizable.strings");

    BulkCommands::deleteTranslation(model, {t});
    EXPECT_EQ(model.data.value("t-Localizable.strings").keys(), (QList<QString>{"Base", "en"}));
    EXPECT_FALSE(read("de").contains("\"t\""));

    Settings().setValue(Settings::BaseLanguage, QStringList{"en"});
    BulkCommands::deleteTranslation(model, {t});
    EXPECT_EQ(model.data.value("t-Localizable.strings").keys(), (QList<QString>{"en"}));
    EXPECT_FALSE(read("Base").contains("\"t\""));
    EXPECT_TRUE(read("en").contains("\"t\" = \"Title\";"));
}

TEST_F(BulkCommandsTest, DeleteStringRemovesRowsWithABaseEntryOnly)
{
    write("en", "\"a\" = \"A\";\n\"b\" = \"B\";\n\"c\" = \"C\";\n");
    write("de", "\"a\" = \"A-de\";\n\"d\" = \"D-de\";\n");
    ProjectModel model = load();
    const int before = int(model.keys.size());
    QList<int> rows{indexOf(model, "a-Localizable.strings"), indexOf(model, "c-Localizable.strings"),
                    indexOf(model, "d-Localizable.strings")};
    std::sort(rows.begin(), rows.end());

    const CommandOutcome outcome = BulkCommands::deleteString(model, rows);
    EXPECT_TRUE(outcome.clearSelection);
    EXPECT_EQ(outcome.saves, 1);
    EXPECT_EQ(model.keys.size(), before - 2);
    EXPECT_FALSE(model.data.contains("a-Localizable.strings"));
    EXPECT_TRUE(model.data.contains("d-Localizable.strings"));
    EXPECT_TRUE(model.mapKeyToFile.contains("a-Localizable.strings"));
    EXPECT_FALSE(read("en").contains("\"a\""));
    EXPECT_FALSE(read("de").contains("\"a\""));
    EXPECT_TRUE(read("en").contains("\"b\" = \"B\";"));
}
