// The import of language-named .strings files into a project's rows.
#include "memory/translationimport.h"
#include "testsupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(TranslationImport, TargetsTheRowWhoseKeyIsExactlyTheImportedKey)
{
    QTemporaryDir dir;
    const QString root = dir.filePath("Project");
    writeFile(root, "en.lproj/Localizable.strings",
              "\"Save\" = \"Save\";\n\"SaveAs\" = \"Save As\";\n"
              "/* Opens */\n\"Open\" = \"Open\";\n");
    writeFile(root, "de.lproj/Localizable.strings", "\"Orphan\" = \"Waise\";\n");
    const QString in = dir.filePath("Incoming");
    writeFile(in, "de.strings", "\"Save\" = \"Speichern\";\n\"Open\" = \"Öffnen\\njetzt C:\\\\new\";\n"
                                "\"Orphan\" = \"x\";\n\"Unknown\" = \"y\";\n");
    // Neither a file whose name is no language nor a hidden folder is read.
    writeFile(in, "de.lproj/Localizable.strings", "\"SaveAs\" = \"never\";\n");
    writeFile(in, ".hidden/de.strings", "\"SaveAs\" = \"jamais\";\n");
    ProjectModel model = loadProject(root, false);
    // Descending order puts SaveAs, a key that merely begins with "Save", first.
    model.rebuildKeys({Column::Key, false}, false);
    EXPECT_EQ(TranslationImport::importTranslations(model, in).stored, 2);
    EXPECT_EQ(model.data.value("Save-Localizable.strings").value("de").value, "Speichern");
    EXPECT_FALSE(model.data.value("SaveAs-Localizable.strings").contains("de"));
    const Entry open = model.data.value("Open-Localizable.strings").value("de");
    // Imported texts arrive with escapes resolved and are held escaped again.
    EXPECT_EQ(open.value, "Öffnen\\njetzt C:\\\\new");
    EXPECT_EQ(open.comment, " Opens ");
    // The row without a base entry takes nothing.
    EXPECT_EQ(model.data.value("Orphan-Localizable.strings").value("de").value, "Waise");
}

// An import is saved like every other command, reaches the project language
// whose code the file names, and says which files it could not place.
TEST(TranslationImport, RegionalFilesReachTheirLanguageAndTheRestIsReported)
{
    QTemporaryDir dir;
    const QString root = dir.filePath("Project");
    writeFile(root, "en.lproj/Localizable.strings", "\"Open\" = \"Open\";\n");
    writeFile(root, "de.lproj/Localizable.strings", "\"Open\" = \"Auf\";\n");
    writeFile(root, "pt-BR.lproj/Localizable.strings", "\"Save\" = \"Salvar\";\n");
    writeFile(root, "zh_Hans.lproj/Localizable.strings", "\"Save\" = \"x\";\n");
    ProjectModel model = loadProject(root, false);
    const struct
    {
        const char *file;
        const char *language; // the project language it reaches, or none
    } cases[] = {{"pt_BR.strings", "pt-BR"}, {"pt-BR.strings", "pt-BR"},
                 {"zh-Hans.strings", "zh_Hans"}, {"zh_CN.strings", "zh_Hans"},
                 {"German.strings", "de"}, {"fr.strings", nullptr}, {"pt.strings", nullptr}};
    for (const auto &c : cases) {
        const auto language = TranslationImport::projectLanguageFor(c.file, model.languages);
        EXPECT_EQ(language.value_or("(none)"), c.language ? c.language : "(none)") << c.file;
    }

    const QString in = dir.filePath("Incoming");
    writeFile(in, "nested/pt_BR.strings", "\"Open\" = \"Abrir \\\"j\\U00e1\\\"\";\n");
    writeFile(in, "fr.strings", "\"Open\" = \"Ouvrir\";\n");
    model.rebuildKeys({}, false);
    const ImportResult result = TranslationImport::importTranslations(model, in);
    EXPECT_EQ(result.stored, 1);
    ASSERT_EQ(result.unmatched.size(), 1);
    EXPECT_EQ(result.unmatched.first().second, "fr");
    EXPECT_TRUE(readFile(root + "/pt-BR.lproj/Localizable.strings")
                    .contains("\"Open\" = \"Abrir \\\"j\u00e1\\\"\";"));

    const CliRun run = runCliProgram({"import", root, in});
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.out.startsWith("1 texts stored")) << run.out.constData();
    EXPECT_TRUE(run.err.contains("not imported: " + in.toUtf8()
                                 + "/fr.strings: the project has no language fr"));
}
