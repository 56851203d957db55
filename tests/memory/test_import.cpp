// The import of language-named .strings files into a project's rows.
#include "memory/translationimport.h"
#include "testsupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class TranslationImportTest : public testing::Test
{
protected:
    QTemporaryDir dir;
    ProjectModel model;

    void SetUp() override
    {
        const QString root = dir.filePath("Project");
        writeFile(root, "en.lproj/Localizable.strings",
                  "/* Saves */\n\"Save\" = \"Save\";\n\"SaveAs\" = \"Save As\";\n\"Open\" = \"Open\";\n");
        writeFile(root, "en.lproj/Other.strings", "\"Save\" = \"Save\";\n");
        writeFile(root, "de.lproj/Localizable.strings", "\"Save\" = \"Sichern\";\n\"Orphan\" = \"Waise\";\n");
        model.projectURL = root;
        model.load();
    }

    int import(const SortDescriptor &sort = {})
    {
        model.rebuildKeys(sort, false);
        return TranslationImport::importTranslations(model, dir.filePath("Incoming")).stored;
    }
};

} // namespace

TEST_F(TranslationImportTest, TargetsTheRowWhoseKeyIsExactlyTheImportedKey)
{
    const QString in = dir.filePath("Incoming");
    writeFile(in, "de.strings", "\"Save\" = \"Speichern\";\n\"Open\" = \"Öffnen\\njetzt C:\\\\new\";\n"
                                "\"Orphan\" = \"x\";\n\"Unknown\" = \"y\";\n");
    // Descending order puts SaveAs before Save and Other.strings before Localizable.strings.
    const int stored = import({Column::Key, false});
    EXPECT_EQ(stored, 2);
    EXPECT_FALSE(model.data.value("SaveAs-Localizable.strings").contains("de"));
    const QString firstSave = model.keys.indexOf("Save-Other.strings")
                                      < model.keys.indexOf("Save-Localizable.strings")
                                  ? "Save-Other.strings"
                                  : "Save-Localizable.strings";
    const QString secondSave = firstSave == "Save-Other.strings" ? "Save-Localizable.strings"
                                                                 : "Save-Other.strings";
    // So a row key that merely begins with "Save" comes first.
    ASSERT_LT(model.keys.indexOf("SaveAs-Localizable.strings"), model.keys.indexOf(firstSave));
    EXPECT_EQ(model.data.value(firstSave).value("de").value, "Speichern");
    EXPECT_NE(model.data.value(secondSave).value("de").value, "Speichern");
    const Entry open = model.data.value("Open-Localizable.strings").value("de");
    EXPECT_EQ(open.key, "Open");
    // Imported texts arrive with escapes resolved and are held escaped again.
    EXPECT_EQ(open.value, "Öffnen\\njetzt C:\\\\new");
    EXPECT_EQ(open.comment, model.baseEntry("Open-Localizable.strings")->comment);
    // The row without a base entry takes nothing.
    EXPECT_EQ(model.data.value("Orphan-Localizable.strings").value("de").value, "Waise");
}

TEST_F(TranslationImportTest, FileNamesGiveTheLanguageAndOthersAreSkipped)
{
    const QString in = dir.filePath("Incoming");
    writeFile(in, "German.strings", "\"Open\" = \"Auf\";\n");
    writeFile(in, "nested/pt-BR.strings", "\"Open\" = \"Abrir\";\n");
    writeFile(in, "de.lproj/Localizable.strings", "\"Open\" = \"never\";\n");
    writeFile(in, ".hidden/fr.strings", "\"Open\" = \"jamais\";\n");
    writeFile(in, "fr.strings", "<?xml version=\"1.0\"?><plist><dict/></plist>");
    // The project has no French and no Portuguese.
    EXPECT_EQ(import(), 1);
    const Row row = model.data.value("Open-Localizable.strings");
    EXPECT_EQ(row.value("de").value, "Auf");
    EXPECT_FALSE(row.contains("pt-BR"));
    EXPECT_FALSE(row.contains("pt"));
    EXPECT_FALSE(row.contains("fr"));
    EXPECT_FALSE(model.keys.isEmpty());
}

// An import is saved like every other command, reaches the project language
// whose code the file names, and says which files it could not place.
TEST_F(TranslationImportTest, RegionalFilesReachTheirLanguageAndTheRestIsReported)
{
    const QString root = dir.filePath("Project");
    writeFile(root, "pt-BR.lproj/Localizable.strings", "\"Save\" = \"Salvar\";\n");
    writeFile(root, "zh_Hans.lproj/Localizable.strings", "\"Save\" = \"x\";\n");
    model = ProjectModel();
    model.projectURL = root;
    model.load();
    const QString in = dir.filePath("Incoming");
    const struct
    {
        const char *file;
        const char *language; // the project language it reaches, or none
    } cases[] = {{"pt_BR.strings", "pt-BR"}, {"pt-BR.strings", "pt-BR"}, {"zh-Hans.strings", "zh_Hans"},
                 {"zh_CN.strings", "zh_Hans"}, {"German.strings", "de"}, {"fr.strings", nullptr},
                 {"pt.strings", nullptr}};
    for (const auto &c : cases) {
        const auto language = TranslationImport::projectLanguageFor(c.file, model.languages);
        EXPECT_EQ(language.value_or("(none)"), c.language ? c.language : "(none)") << c.file;
    }

    writeFile(in, "pt_BR.strings", "\"Open\" = \"Abrir \\\"j\\U00e1\\\"\";\n");
    writeFile(in, "fr.strings", "\"Open\" = \"Ouvrir\";\n");
    model.rebuildKeys({}, false);
    const ImportResult result = TranslationImport::importTranslations(model, in);
    EXPECT_EQ(result.stored, 1);
    ASSERT_EQ(result.unmatched.size(), 1);
    EXPECT_EQ(result.unmatched.first().second, "fr");
    EXPECT_TRUE(readFile(root + "/pt-BR.lproj/Localizable.strings").contains("\"Open\" = \"Abrir \\\"j\u00e1\\\"\";"));

    const CliRun run = runCliProgram({"import", root, in});
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.out.startsWith("1 texts stored")) << run.out.constData();
    EXPECT_TRUE(run.err.contains("not imported: " + in.toUtf8() + "/fr.strings: the project has no language fr"));
}
