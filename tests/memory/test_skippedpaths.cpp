// The scan and the import take found names byte for byte, leave out what
// find could not read or name, and say so, in the core and in verbalo-cli.
#include "memory/databasemanagerv2.h"
#include "memory/translationimport.h"
#include "testsupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(SkippedPaths, ScanAndImportTakeNamesWholeAndSayWhatTheyLeftOut)
{
    // A line feed split a path; one byte that is not UTF-8 emptied the whole listing.
    QTemporaryDir dir;
    const QString tree = dir.filePath("tree");
    for (const QByteArray group : {"Good", "Two\nLines", "Bad\xff"}) {
        writeFileAtBytes(tree, group + "/en.lproj/L.strings",
                         "\"" + group.left(3) + "\" = \"Hello\";\n");
        writeFileAtBytes(tree, group + "/de.lproj/L.strings",
                         "\"" + group.left(3) + "\" = \"Hallo\";\n");
    }
    const ScanResult scan = DatabaseManagerV2(dir.filePath("memory.sqlite")).scan(tree).result();
    EXPECT_EQ(scan.keysStored, 2);
    ASSERT_EQ(scan.skipped.size(), 2);
    EXPECT_EQ(scan.skipped.first().reason, "the name is not valid UTF-8");
    CliRun run = runCliProgram({"scan", "--db", dir.filePath("cli.sqlite"), tree});
    EXPECT_EQ(run.out, "2 groups, 2 keys stored\n");
    EXPECT_TRUE(run.err.endsWith(
        ("verbalo-cli: 2 paths below " + tree + " could not be read and were left out\n")
            .toUtf8()));

    const QString root = dir.filePath("proj");
    writeFile(root, "en.lproj/L.strings", "\"k\" = \"Key\";\n");
    writeFile(root, "fr.lproj/L.strings", "\"other\" = \"Autre\";\n");
    const QString in = dir.filePath("in");
    writeFileAtBytes(in, "Line\nBreak/fr.strings", "\"k\" = \"Clef\";\n");
    writeFileAtBytes(in, "Bad\xff/it.strings", "\"k\" = \"Chiave\";\n");
    ProjectModel model = loadProject(root);
    const ImportResult result = TranslationImport::importTranslations(model, in);
    EXPECT_EQ(result.stored, 1);
    EXPECT_EQ(result.skipped.size(), 1);
    run = runCliProgram({"import", root, in});
    EXPECT_EQ(run.out, "1 texts stored\n");
    EXPECT_TRUE(run.err.endsWith(
        ("verbalo-cli: 1 path below " + in + " could not be read and was left out\n").toUtf8()));
    removeTree(dir.path());
}
