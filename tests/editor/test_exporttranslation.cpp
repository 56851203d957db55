// The export of untranslated base texts, as written to disk, and targets
// that are not regular files, which it refuses.
#include "editor/exporttranslation.h"
#include "editorfixture.h"
#include "memory/translationimport.h"
#include "model/heldtext.h"

#include <sys/stat.h>

using ExportTranslationTest = EditorFixture;

TEST_F(ExportTranslationTest, WritesTheBaseBlocksOfUnfinishedRowsInKeyOrder)
{
    write("en", "/*Shown*/\n\"Zebra\" = \"Say \\\"hi\\\"\";\n\"apple\" = \"Apple\";\n"
                "\"done\" = \"Done\";\n\"Banana\" = \"B\";\n");
    write("de", "\"done\" = \"Fertig\";\n\"german\" = \"Nur deutsch\";\n");
    writeFile(root, "en.lproj/notes.txt", "Line one\nLine \"two\"");
    ProjectModel model = load();
    model.keys.clear(); // hidden rows are exported too

    const QString out = QDir(root).filePath("export/out.strings");
    QDir().mkpath(QDir(root).filePath("export"));
    ASSERT_TRUE(ExportTranslation::exportTranslation(model, out));
    EXPECT_EQ(QString::fromUtf8(readFile(out)),
              "/**/\n\"apple\" = \"Apple\";\n\n"
              "/**/\n\"Banana\" = \"B\";\n\n"
              "/**/\n\"notes.txt\" = \"Line one\\nLine \\\"two\\\"\";\n\n"
              "/*Shown*/\n\"Zebra\" = \"Say \\\"hi\\\"\";\n\n");
}

TEST_F(ExportTranslationTest, LeavesWhatIsNotARegularFileAsItIs)
{
    write("en", "\"apple\" = \"Apple\";\n");
    QTemporaryDir out;
    const QString pipe = out.filePath("pipe"), link = out.filePath("link"),
                  folder = out.filePath("folder");
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0644), 0);
    QFile::link(pipe, link);
    QDir().mkpath(folder);
    for (const QString &message : {pipe + " is not a regular file", link + " is not a regular file",
                                   folder + " is a folder, not a file"}) {
        const QString target = message.section(' ', 0, 0);
        QString error;
        EXPECT_FALSE(ExportTranslation::exportTranslation(load(), target, &error));
        EXPECT_EQ(error, message);
        EXPECT_EQ(runCliProgram({"export", root, target}).err,
                  ("verbalo-cli: " + message + "\n").toUtf8());
    }
    struct stat info = {};
    EXPECT_TRUE(lstat(QFile::encodeName(pipe).constData(), &info) == 0 && S_ISFIFO(info.st_mode));
}

// What an export holds comes back whole through an import into a language
// that has nothing yet: quotes, backslashes, line breaks, escapes and the
// whole text of a .txt file.
TEST_F(ExportTranslationTest, AnExportImportsBackIntoAnEmptyLanguage)
{
    write("en", "\"quote\" = \"Say \\\"hi\\\"\";\n\"path\" = \"C:\\\\new\\\\table\";\n"
                "\"lines\" = \"one\\ntwo\\tthree\";\n\"plain\" = \"Plain\";\n");
    write("fr", "\n");
    writeFile(root, "en.lproj/notes.txt", "Line one\nLine \"two\" C:\\x &amp;");
    ProjectModel model = load();
    model.data["plain-Localizable.strings"]["en"].value = "typed \"here\"\nand there\\";
    QTemporaryDir back;
    ASSERT_TRUE(ExportTranslation::exportTranslation(model, back.filePath("fr.strings")));

    const ImportResult result = TranslationImport::importTranslations(model, back.path());
    EXPECT_EQ(result.stored, 5);
    for (const QString &rowKey : model.data.keys()) {
        const Row row = model.data.value(rowKey);
        const bool txt = ProjectModel::isTxtRowKey(rowKey);
        const auto plain = [txt](const QString &held) { return txt ? held : HeldText::toPlain(held); };
        EXPECT_EQ(plain(row.value("fr").value), plain(row.value("en").value)) << rowKey.toStdString();
    }
}
