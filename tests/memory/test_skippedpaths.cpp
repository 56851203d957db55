// The scan and the import take found names byte for byte, leave out what
// find could not read or name, and say so, in the core and in verbalo-cli.
#include "memory/databasemanagerv2.h"
#include "memory/translationimport.h"
#include "testsupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QStringList reasons(const QList<SkippedPath> &skipped)
{
    QStringList out;
    for (const SkippedPath &s : skipped)
        out << s.reason;
    return out;
}

const QString kBadName = QStringLiteral("the name is not valid UTF-8");

} // namespace

TEST(SkippedPaths, ScanTakesNamesWholeAndSaysWhatItLeftOut)
{
    QTemporaryDir dir;
    const QString tree = dir.filePath("tree");
    // A line feed once split a group's path; one byte that is not UTF-8 once
    // emptied the whole listing.
    for (const QByteArray group : {"Good", "Two\nLines", "Bad\xff"}) {
        const QByteArray key = group.left(3);
        writeFileAtBytes(tree, group + "/en.lproj/L.strings", "\"" + key + "\" = \"Hello\";\n");
        writeFileAtBytes(tree, group + "/de.lproj/L.strings", "\"" + key + "\" = \"Hallo\";\n");
    }
    DatabaseManagerV2 manager(dir.filePath("memory.sqlite"));
    const ScanResult result = manager.scan(tree).result();
    EXPECT_EQ(result.groups, 2);
    EXPECT_EQ(result.keysStored, 2);
    EXPECT_EQ(reasons(result.skipped), (QStringList{kBadName, kBadName}));

    const CliRun run = runCliProgram({"scan", "--db", dir.filePath("cli.sqlite"), tree});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "2 groups, 2 keys stored\n");
    EXPECT_TRUE(run.err.contains(
        ("verbalo-cli: 2 paths below " + tree + " could not be read and were left out\n").toUtf8()))
        << run.err.constData();
    removeTree(dir.path());
}

TEST(SkippedPaths, ImportTakesNamesWholeAndSaysWhatItLeftOut)
{
    QTemporaryDir dir;
    const QString root = dir.filePath("proj");
    writeFile(root, "en.lproj/L.strings", "\"k\" = \"Key\";\n");
    writeFile(root, "de.lproj/L.strings", "\"k\" = \"Schl\u00fcssel\";\n");
    const QString in = dir.filePath("in");
    writeFileAtBytes(in, "Line\nBreak/fr.strings", "\"k\" = \"Cl\u00e9\";\n");
    writeFileAtBytes(in, "Bad\xff/it.strings", "\"k\" = \"Chiave\";\n");
    writeFileAtBytes(in, "es.strings", "\"k\" = \"Llave\";\n");

    ProjectModel model = loadProject(root);
    QList<SkippedPath> skipped;
    EXPECT_EQ(TranslationImport::importTranslations(model, in, {}, &skipped), 2);
    EXPECT_EQ(model.data.value("k-L.strings").value("fr").value, "Cl\u00e9");
    EXPECT_EQ(reasons(skipped), QStringList{kBadName});

    const CliRun run = runCliProgram({"import", root, in});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "2 texts stored\n");
    EXPECT_TRUE(run.err.contains(
        ("verbalo-cli: 1 path below " + in + " could not be read and was left out\n").toUtf8()))
        << run.err.constData();
    removeTree(dir.path());
}
