// Cell edits on a project on disk: what changes in the model and in the files.
#include "editor/cellediting.h"
#include "editorfixture.h"

using CellEditingTest = EditorFixture;

TEST_F(CellEditingTest, EditsWriteTheBaseEntryIntoEveryCandidateAndEveryFile)
{
    write("en", "/*Greeting*/\n\"hello\" = \"Hello\";\n\"bye\" = \"Bye\";\n");
    write("de", "/*Greeting*/\n\"hello\" = \"Hallo\";\n");
    ProjectModel model = load();
    const int row = indexOf(model, "hello-Localizable.strings");

    CommandOutcome outcome = CellEditing::setObjectValue(model, "Hi \"there\"", Column::Value, row);
    EXPECT_EQ(outcome.saves, 1);
    EXPECT_EQ(outcome.reloads, 0);
    const Row &r = model.data.value("hello-Localizable.strings");
    for (const char *language : {"Base", "en", "en-US"}) {
        ASSERT_TRUE(r.contains(language)) << language;
        EXPECT_EQ(r.value(language), (Entry{"hello", "Hi \"there\"", "Greeting"}));
    }
    EXPECT_EQ(r.value("de").value, "Hallo");
    EXPECT_TRUE(read("en").contains("\"hello\" = \"Hi \\\"there\\\"\";"));
    EXPECT_FALSE(QFile::exists(QDir(root).filePath("Base.lproj/Localizable.strings")));

    // A new key and an empty comment are written in every language's file;
    // the row key stays.
    CellEditing::setObjectValue(model, "greeting", Column::Key, row);
    CellEditing::setObjectValue(model, QString(), Column::Comment, row);
    EXPECT_EQ(model.keys.at(row), "hello-Localizable.strings");
    EXPECT_TRUE(read("de").contains("/**/\n\"greeting\" = \"Hallo\";"));
    EXPECT_TRUE(read("en").contains("/**/\n\"greeting\" = \"Hi \\\"there\\\"\";"));
}

TEST_F(CellEditingTest, EditsThatChangeNothingDoNotSave)
{
    write("en", "\"a\" = \"A\";\n");
    write("de", "\"a\" = \"Ä\";\n\"only\" = \"Nur\";\n");
    ProjectModel model = load();
    removeProbe("en");

    testing::internal::CaptureStdout();
    CommandOutcome outcome = CellEditing::setObjectValue(model, QVariant(42), Column::Value, 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Invalid object, expecting string object: QVariant(int, 42)\n");
    EXPECT_TRUE(outcome.changedNothing());
    EXPECT_TRUE(CellEditing::setObjectValue(model, QVariant(), Column::Comment, 0).changedNothing());
    EXPECT_TRUE(CellEditing::setObjectValue(model, "x", std::nullopt, 0).changedNothing());
    // A row holding no base-language candidate cannot be edited.
    const int only = indexOf(model, "only-Localizable.strings");
    EXPECT_TRUE(CellEditing::setObjectValue(model, "x", Column::Value, only).changedNothing());
    EXPECT_EQ(model.data.value("only-Localizable.strings").size(), 1);
    EXPECT_FALSE(saved("en"));

    // An unknown column is logged, and the project is still saved.
    testing::internal::CaptureStdout();
    outcome = CellEditing::setObjectValue(model, "x", Column::File, 0);
    EXPECT_TRUE(testing::internal::GetCapturedStdout().find(": We shouldn't be here\n") != std::string::npos);
    EXPECT_EQ(outcome.saves, 1);
    EXPECT_TRUE(saved("en"));
}

TEST_F(CellEditingTest, AnEmptyValueIsSavedAndReadBackAsAnEmptyText)
{
    Settings().setValue(Settings::BaseLanguage, "en");
    write("en", "\"a\" = \"A\";\n");
    ProjectModel model = load();
    CellEditing::setObjectValue(model, QString(), Column::Value, 0);
    EXPECT_TRUE(read("en").contains("\"a\" = \"\";"));
    EXPECT_EQ(load().baseEntry("a-Localizable.strings"), (Entry{"a", "", std::nullopt}));
}

// A key that another row of the same file has would merge the two rows at
// the next load: such a rename is refused and says why.
TEST_F(CellEditingTest, RenamingOntoAnotherRowsKeyIsRefused)
{
    write("en", "\"a\" = \"A\";\n\"caf\\U00e9\" = \"C\";\n\"b\" = \"B\";\n");
    write("en", "\"other\" = \"O\";\n", "Other.strings");
    ProjectModel model = load();
    const int a = indexOf(model, "a-Localizable.strings");
    const std::pair<const char *, bool> cases[] = {{"b", true},          {"café", true},
                                                   {"caf\\U00E9", true}, {"a", false},
                                                   {"other", false},     {"new", false}};
    for (const auto &[key, refused] : cases) {
        const QString before = read("en");
        const CommandOutcome outcome =
            CellEditing::setObjectValue(model, QString::fromUtf8(key), Column::Key, a);
        EXPECT_EQ(!outcome.message.isEmpty(), refused) << key;
        EXPECT_EQ(outcome.saves, refused ? 0 : 1) << key;
        if (refused) {
            EXPECT_EQ(read("en"), before) << key;
            EXPECT_TRUE(outcome.message.startsWith("Not renamed: Localizable.strings already has the key"));
        }
    }
    EXPECT_EQ(model.baseEntry("a-Localizable.strings")->key, "new");
}
