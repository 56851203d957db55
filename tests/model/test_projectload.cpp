// Loading a project root: language passes, rows, logs, and bad input.
#include "model/projectmodel.h"
#include "testsupport.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

ProjectModel loadRoot(const QString &root) { return loadProject(root, false); }

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
    EXPECT_EQ(m.data.value("about.txt-about.txt").value("de"), (Entry{"about.txt", "", ""}));
    EXPECT_EQ(m.mapKeyToFile.value("about.txt-about.txt"), "about.txt");
    EXPECT_EQ(m.mapKeyToFile.value("same-InfoPlist.strings"), "InfoPlist.strings");
    EXPECT_EQ(m.mapKeyToFile.size(), m.data.size());
}

TEST(ProjectLoad, LanguagePassesInOrderAndEmptyRoots)
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

    // A missing or empty root leaves the model empty.
    QTemporaryDir empty;
    EXPECT_TRUE(loadRoot(empty.path() + "/gone").languages.isEmpty());
    EXPECT_TRUE(loadRoot(empty.path()).languages.isEmpty());
    EXPECT_TRUE(loadRoot(QString()).languages.isEmpty());
    // A language folder that is really a file still counts as a language.
    writeFile(empty.path(), "en.lproj", "not a folder");
    EXPECT_EQ(loadRoot(empty.path()).languages, QStringList{"en"});
    EXPECT_TRUE(loadRoot(empty.path()).data.isEmpty());
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
    EXPECT_EQ(m.languages, (QStringList{"en", "en"}));
    EXPECT_EQ(m.data.value("a-b-c.strings").value("en"), (Entry{"a-b", "from c", std::nullopt}));
    EXPECT_EQ(m.mapKeyToFile.value("a-b-c.strings"), "c.strings");
    EXPECT_EQ(m.data.value("k-c.strings").value("en").value, "bare");

    // A key given twice in a file: the later entry wins, in the first file of
    // its name as in the others, and the row keeps its other languages.
    QTemporaryDir twice;
    writeFile(twice.path(), "de.lproj/e.strings", "\"x\" = \"eins\";\n\"y\" = \"y\";\n\"x\" = \"zwei\";\n");
    writeFile(twice.path(), "en.lproj/e.strings", "\"x\" = \"one\";\n\"x\" = \"two\";\n");
    const ProjectModel t = loadRoot(twice.path());
    EXPECT_EQ(t.data.size(), 2);
    EXPECT_EQ(t.data.value("x-e.strings").value("de").value, "zwei");
    EXPECT_EQ(t.data.value("x-e.strings").value("en").value, "two");
    EXPECT_EQ(t.data.value("y-e.strings").size(), 1);

    // A second load adds to the model.
    QTemporaryDir other;
    writeFile(other.path(), "de.lproj/c.strings", "\"a-b\" = \"aus c\";\n");
    m.projectURL = other.path();
    m.load();
    const Row row = m.data.value("a-b-c.strings");
    EXPECT_EQ(row.value("en").value, "from c");
    EXPECT_EQ(row.value("de").value, "aus c");
    EXPECT_EQ(m.languages.size(), 3);
}

TEST(ProjectLoad, EachLanguageKeepsItsOwnKeyOrderAndGapsWhileTheTableGrows)
{
    // Later languages list most keys in the first one's order, some swapped,
    // some left out, some of their own; with this many files the table grows
    // after the first files are merged. Every entry must land in its own row.
    QTemporaryDir dir;
    QRandomGenerator random(3);
    const QStringList files = {"A.strings", "B.strings", "C.strings"};
    QHash<QString, QHash<QString, QString>> expected; // row key -> language -> value
    KeyFileMap fileOf;
    for (int l = 0; l < 12; ++l) {
        const QString language = QString("l%1").arg(l, 2, 10, QChar('0'));
        for (const QString &file : files) {
            QStringList keys;
            for (int k = 0; k < 2000; ++k)
                if (l == 0 || random.bounded(10) != 0)
                    keys << QString("key.%1").arg(k);
            for (int k = 0; k < (l == 0 ? 0 : 400); ++k)
                keys.insert(random.bounded(int(keys.size()) + 1), QString("own.%1.%2").arg(l).arg(k));
            for (int s = 0; s < keys.size() / 20; ++s)
                keys.swapItemsAt(random.bounded(int(keys.size())), random.bounded(int(keys.size())));
            QByteArray text;
            for (const QString &key : std::as_const(keys)) {
                const QString value = language + "/" + file + "/" + key;
                text += "\"" + key.toUtf8() + "\" = \"" + value.toUtf8() + "\";\n";
                expected[key + "-" + file][language] = value;
                fileOf.insert(key + "-" + file, file);
            }
            writeFile(dir.path(), language + ".lproj/" + file, text);
        }
    }
    const ProjectModel m = loadRoot(dir.path());
    ASSERT_EQ(m.data.size(), expected.size());
    EXPECT_EQ(m.mapKeyToFile, fileOf);
    for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
        const Row row = m.data.value(it.key());
        ASSERT_EQ(row.size(), it->size()) << it.key().toStdString();
        for (auto entry = it->cbegin(); entry != it->cend(); ++entry)
            ASSERT_EQ(row.value(entry.key()).value, entry.value()) << it.key().toStdString();
    }
}
