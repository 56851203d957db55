// verbalo-cli scan, lookup and import, run as the real program.
#include "common/settings.h"
#include "testsupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(MemoryCli, ScanLookupAndImport)
{
    QTemporaryDir dir;
    const QString db = dir.filePath("db/i18n-v2.sqlite");
    writeFile(dir.path(), "tree/App/en.lproj/Localizable.strings", "\"save\" = \"Save \\\"it\\\"\";\n");
    writeFile(dir.path(), "tree/App/de.lproj/Localizable.strings", "\"save\" = \"Sichern\\n\";\n");

    const CliRun scan = runCliProgram({"scan", "--db", db, dir.filePath("tree")});
    EXPECT_EQ(scan.status, 0) << scan.err.constData();
    EXPECT_EQ(scan.out, "1 groups, 1 keys stored\n");

    const CliRun found = runCliProgram({"lookup", "--json", "--column", "en", "--db", db, "Save \"it\""});
    EXPECT_EQ(found.status, 0);
    EXPECT_EQ(found.out, "{\"de\": \"Sichern\\n\", \"en\": \"Save \\\"it\\\"\", \"idx\": \"1\", "
                         "\"search_by\": \"save\"}\n");
    const CliRun missing = runCliProgram({"lookup", "--json", "--db", db, "--", "--nothing"});
    EXPECT_EQ(missing.out, "null\n");
    EXPECT_EQ(runCliProgram({"lookup", "--column", "sr", "--db", db, "x"}).status, 2);
    const CliRun broken = runCliProgram({"lookup", "--db", writeFile(dir.path(), "junk", "junk"), "x"});
    EXPECT_EQ(broken.status, 2);
    EXPECT_TRUE(broken.err.contains("not a database"));

    writeFile(dir.path(), "proj/en.lproj/Localizable.strings", "\"save\" = \"Save\";\n");
    writeFile(dir.path(), "proj/de.lproj/Localizable.strings", "\"other\" = \"Andere\";\n");
    writeFile(dir.path(), "in/de.strings", "\"save\" = \"Sichern\";\n");
    const CliRun import = runCliProgram({"import", dir.filePath("proj"), dir.filePath("in")});
    EXPECT_EQ(import.status, 0) << import.err.constData();
    EXPECT_EQ(import.out, "1 texts stored\n");
    EXPECT_TRUE(readFile(dir.filePath("proj/de.lproj/Localizable.strings")).contains("\"save\" = \"Sichern\";"));

    // The desktop's hide-translated view does not keep finished rows from a batch import.
    Settings().setValue(Settings::HideTranslated, true);
    writeFile(dir.path(), "in/de.strings", "\"save\" = \"Speichern\";\n");
    EXPECT_EQ(runCliProgram({"import", dir.filePath("proj"), dir.filePath("in")}).out, "1 texts stored\n");
    Settings().remove(Settings::HideTranslated);
    EXPECT_TRUE(readFile(dir.filePath("proj/de.lproj/Localizable.strings")).contains("\"save\" = \"Speichern\";"));
}
