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
    const ProjectModel model = load();
    QTemporaryDir out;
    const QString pipe = out.filePath("pipe");
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0644), 0);
    QFile::link(pipe, out.filePath("link"));
    QDir().mkpath(out.filePath("folder"));

    const QString link = out.filePath("link");
    const QString folder = out.filePath("folder");
    const std::pair<QString, QString> cases[] = {{pipe, pipe + " is not a regular file"},
                                                 {link, link + " is not a regular file"},
                                                 {folder, folder + " is a folder, not a file"}};
    for (const auto &[target, message] : cases) {
        QString error;
        EXPECT_FALSE(ExportTranslation::exportTranslation(model, target, &error))
            << target.toStdString();
        EXPECT_EQ(error, message);
        const CliRun run = runCliProgram({"export", root, target});
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err, ("verbalo-cli: " + message + "\n").toUtf8());
    }
    struct stat info
    {
    };
    ASSERT_EQ(lstat(QFile::encodeName(pipe).constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
}
