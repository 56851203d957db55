// The export of untranslated base texts, as written to disk.
#include "editor/exporttranslation.h"
#include "editorfixture.h"

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
              "/**/\n\"notes.txt\" = \"Line one\nLine \"two\"\";\n\n"
              "/*Shown*/\n\"Zebra\" = \"Say \\\"hi\\\"\";\n\n");
}
