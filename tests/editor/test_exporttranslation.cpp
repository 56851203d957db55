// The export of untranslated base texts, as written to disk, and targets
// that are not regular files, which it refuses.
#include "editor/exporttranslation.h"
#include "editorfixture.h"

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
              "/**/\n\"notes.txt\" = \"Line one\nLine \"two\"\";\n\n"
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
    struct stat info
    {
    };
    EXPECT_TRUE(lstat(QFile::encodeName(pipe).constData(), &info) == 0 && S_ISFIFO(info.st_mode));
}
