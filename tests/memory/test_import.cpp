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
        model.refresh(sort);
        return TranslationImport::importTranslations(model, dir.filePath("Incoming"), sort);
    }
};

} // namespace

TEST_F(TranslationImportTest, TargetsTheRowWhoseKeyIsExactlyTheImportedKey)
{
    const QString in = dir.filePath("Incoming");
    writeFile(in, "de.strings", "\"Save\" = \"Speichern\";\n\"Open\" = \"Öffnen\\njetzt C:\\\\new\";\n"
                                "\"Orphan\" = \"x\";\n\"Unknown\" = \"y\";\n");
    // Descending order puts SaveAs before Save and Other.strings before Localizable.strings.
    const int stored = import({QStringLiteral("Key String"), false});
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
    writeFile(in, "pt_BR.strings", "\"Open\" = \"Abrir (pt)\";\n");
    writeFile(in, "de.lproj/Localizable.strings", "\"Open\" = \"never\";\n");
    writeFile(in, ".hidden/fr.strings", "\"Open\" = \"jamais\";\n");
    writeFile(in, "fr.strings", "<?xml version=\"1.0\"?><plist><dict/></plist>");
    EXPECT_EQ(import(), 3);
    const Row row = model.data.value("Open-Localizable.strings");
    EXPECT_EQ(row.value("de").value, "Auf");
    EXPECT_EQ(row.value("pt-BR").value, "Abrir");
    EXPECT_EQ(row.value("pt").value, "Abrir (pt)");
    EXPECT_FALSE(row.contains("fr"));
    EXPECT_FALSE(model.keys.isEmpty());
}
