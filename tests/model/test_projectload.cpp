// Loading a project root: language passes, rows, logs, and bad input.
#include "model/projectmodel.h"
#include "testsupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

ProjectModel loadRoot(const QString &root) { return loadProject(root, false); }

QString kEn() { return "en"; }

} // namespace

TEST(ProjectLoad, RowsGroupLanguagesByKeyAndFile)
{
    QTemporaryDir dir;
    const QString d = dir.path();
    writeFile(d, "en.lproj/Localizable.strings",
              "\n/* Title */\n\"title\" = \"Hello\";\n\"title\" = \"Hello again\";\n\"same\" = \"x\";\n");
    writeFile(d, "en.lproj/InfoPlist.strings", "\"same\" = \"y\";\n");
    writeFile(d, "de.lproj/Localizable.strings", "\"title\" = \"Hallo\";\n\"same\" = \"\";\n");
    writeFile(d, "de.lproj/about.txt", "");
    const ProjectModel m = loadRoot(d);

    EXPECT_EQ(m.languages, (QStringList{"de", "en"}));
    const Row title = m.data.value("title-Localizable.strings");
    ASSERT_EQ(title.size(), 2);
    EXPECT_EQ(title.value("en").value, "Hello again"); // last one wins
    EXPECT_EQ(title.value("de").value, "Hallo");
    // The same key in two files gives two rows; an empty value is an entry.
    EXPECT_EQ(m.data.value("same-Localizable.strings").keys(), (QStringList{"de", "en"}));
    EXPECT_EQ(m.data.value("same-Localizable.strings").value("de").value, "");
    EXPECT_EQ(m.data.value("same-InfoPlist.strings").value("en").value, "y");
    // An empty .txt file is an entry with an empty value and an empty comment.
    const Entry about = m.data.value("about.txt-about.txt").value("de");
    EXPECT_EQ(about.key, "about.txt");
    EXPECT_TRUE(about.value.isEmpty());
    ASSERT_TRUE(about.comment.has_value());
    EXPECT_TRUE(about.comment->isEmpty());
    EXPECT_EQ(m.mapKeyToFile.value("about.txt-about.txt"), "about.txt");
    EXPECT_EQ(m.mapKeyToFile.value("same-InfoPlist.strings"), "InfoPlist.strings");
    EXPECT_EQ(m.mapKeyToFile.size(), m.data.size());
}

TEST(ProjectLoad, LanguagePassesInOrder)
{
    QTemporaryDir dir;
    const QString d = dir.path();
    writeFile(d, "en.lproj/a.strings", "\"k\" = \"v\";\n");
    writeFile(d, "pt-BR.lproj/a.strings", "\"k\" = \"v\";\n");
    writeFile(d, "de-DE/a.txt", "Text");
    writeFile(d, "zz-Top/a.txt", "x");
    writeFile(d, "fr-notes", "a plain file");
    writeFile(d, "gsw/a.txt", "x");
    // A lproj folder counts once, under its name less the extension: listing it
    // a second time under its whole name would let Save overwrite its files.
    EXPECT_EQ(loadRoot(d).languages, (QStringList{"en", "pt-BR", "de-DE", "fr-notes"}));

    // The third pass runs only when no other pass found a language.
    QTemporaryDir bare;
    writeFile(bare.path(), "gsw/a.txt", "x");
    writeFile(bare.path(), "Images/b.txt", "x");
    writeFile(bare.path(), "xx/b.txt", "x");
    const ProjectModel m = loadRoot(bare.path());
    EXPECT_EQ(m.languages, QStringList{"gsw"});
    EXPECT_EQ(m.data.size(), 1);
}

TEST(ProjectLoad, LogsUnreadableAndEmptyFilesAndGoesOn)
{
    QTemporaryDir dir;
    const QString d = dir.path();
    writeFile(d, "de.lproj/Blank.strings", " \n\t\r\n ");
    writeFile(d, "de.lproj/Empty.strings", "");
    writeFile(d, "de.lproj/Junk.strings", QByteArray("\x80\xff\xfe\x00\x01\xc3", 6));
    writeFile(d, "de.lproj/Good.strings", "\"k\" = \"v\";\n");
    writeFile(d, "de.lproj/Junk.txt", QByteArray("\x80\x81\xfd", 3));
    QDir().mkpath(d + "/de.lproj/Folder.strings");
    testing::internal::CaptureStdout();
    const ProjectModel m = loadRoot(d);
    const QStringList lines = QString::fromStdString(testing::internal::GetCapturedStdout()).split(u'\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines, (QStringList{"Empty file for: de", "Empty file for: de",
                                  "Skipping " + d + "/de.lproj/Folder.strings: not a regular file",
                                  "Can't read file @ " + d + "/de.lproj/Junk.strings"}));
    EXPECT_TRUE(m.data.contains("k-Good.strings"));
    EXPECT_EQ(m.data.size(), 1);
}

TEST(ProjectLoad, MissingOrEmptyRootLeavesTheModelEmpty)
{
    QTemporaryDir dir;
    EXPECT_TRUE(loadRoot(dir.path() + "/gone").languages.isEmpty());
    EXPECT_TRUE(loadRoot(dir.path()).languages.isEmpty());
    EXPECT_TRUE(loadRoot(QString()).languages.isEmpty());
    // A language folder that is really a file still counts as a language.
    writeFile(dir.path(), "en.lproj", "not a folder");
    const ProjectModel m = loadRoot(dir.path());
    EXPECT_EQ(m.languages, QStringList{"en"});
    EXPECT_TRUE(m.data.isEmpty());
}

// The parallel merge must leave every row as a sequential load in listing
// order would: the later file wins, also across files and repeated languages.
TEST(ProjectLoad, LaterFilesWinAsInASequentialLoad)
{
    QTemporaryDir dir;
    const QString d = dir.path();
    // Both give the row key a-b-c.strings; b-c.strings is listed first.
    writeFile(d, "en.lproj/b-c.strings", "\"a\" = \"from b-c\";\n");
    writeFile(d, "en.lproj/c.strings", "\"a-b\" = \"from c\";\n");
    // "en" is listed twice: en.lproj in the first pass, the bare en in the second.
    writeFile(d, "en/c.strings", "\"k\" = \"bare\";\n");
    writeFile(d, "en.lproj/d.strings", "\"k\" = \"lproj\";\n");
    ProjectModel m = loadRoot(d);
    EXPECT_EQ(m.languages, (QStringList{kEn(), kEn()}));
    const Entry collided = m.data.value("a-b-c.strings").value(kEn());
    EXPECT_EQ(collided.key, "a-b");
    EXPECT_EQ(collided.value, "from c");
    EXPECT_EQ(m.mapKeyToFile.value("a-b-c.strings"), "c.strings");
    EXPECT_EQ(m.data.value("k-c.strings").value(kEn()).value, "bare");

    // A second load adds to the model.
    QTemporaryDir other;
    writeFile(other.path(), "de.lproj/c.strings", "\"a-b\" = \"aus c\";\n");
    m.projectURL = other.path();
    m.load();
    const Row row = m.data.value("a-b-c.strings");
    EXPECT_EQ(row.value(kEn()).value, "from c");
    EXPECT_EQ(row.value("de").value, "aus c");
    EXPECT_EQ(m.languages.size(), 3);
}
