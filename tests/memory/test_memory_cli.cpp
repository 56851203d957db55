// verbalo-cli lookup and import, run as the real program; the scan's and the
// import's report lines are pinned down with the paths they skip.
#include "common/settings.h"
#include "testsupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(MemoryCli, LookupAndImport)
{
    QTemporaryDir dir;
    const QString db = dir.filePath("db/i18n-v2.sqlite");
    writeFile(dir.path(), "tree/App/en.lproj/Localizable.strings",
              "\"save\" = \"Save \\\"it\\\"\";\n");
    writeFile(dir.path(), "tree/App/de.lproj/Localizable.strings", "\"save\" = \"Sichern\\n\";\n");
    ASSERT_EQ(runCliProgram({"scan", "--db", db, dir.filePath("tree")}).status, 0);

    const CliRun found =
        runCliProgram({"lookup", "--json", "--column", "en", "--db", db, "Save \"it\""});
    EXPECT_EQ(found.status, 0);
    EXPECT_EQ(found.out, "{\"de\": \"Sichern\\n\", \"en\": \"Save \\\"it\\\"\", \"idx\": \"1\", "
                         "\"search_by\": \"save\"}\n");
    EXPECT_EQ(runCliProgram({"lookup", "--json", "--db", db, "--", "--nothing"}).out, "null\n");
    EXPECT_EQ(runCliProgram({"lookup", "--column", "sr", "--db", db, "x"}).status, 2);

    // The desktop's hide-translated view does not keep finished rows from a batch import.
    writeFile(dir.path(), "proj/en.lproj/Localizable.strings", "\"save\" = \"Save\";\n");
    writeFile(dir.path(), "proj/de.lproj/Localizable.strings", "\"save\" = \"Sichern\";\n");
    writeFile(dir.path(), "in/de.strings", "\"save\" = \"Speichern\";\n");
    Settings().setValue(Settings::HideTranslated, true);
    const CliRun import = runCliProgram({"import", dir.filePath("proj"), dir.filePath("in")});
    Settings().remove(Settings::HideTranslated);
    EXPECT_EQ(import.status, 0) << import.err.constData();
    EXPECT_EQ(import.out, "1 texts stored\n");
    EXPECT_TRUE(readFile(dir.filePath("proj/de.lproj/Localizable.strings"))
                    .contains("\"save\" = \"Speichern\";"));
}
