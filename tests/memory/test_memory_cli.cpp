// verbalo-cli scan, lookup and import, run as the real program.
#include "app/settings.h"
#include "testsupport.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct CliRun
{
    int status = -1;
    QString out;
    QString err;
};

CliRun cli(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(VERBALO_BIN_DIR) + "/verbalo-cli", arguments);
    CliRun run;
    if (!process.waitForFinished(60000))
        return run;
    run.status = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

} // namespace

TEST(MemoryCli, ScanLookupAndImport)
{
    if (!QFileInfo::exists(QStringLiteral(VERBALO_BIN_DIR) + "/verbalo-cli"))
        GTEST_SKIP() << "verbalo-cli is not built";
    QTemporaryDir dir;
    const QString db = dir.filePath("db/i18n-v2.sqlite");
    writeFile(dir.path(), "tree/App/en.lproj/Localizable.strings", "\"save\" = \"Save \\\"it\\\"\";\n");
    writeFile(dir.path(), "tree/App/de.lproj/Localizable.strings", "\"save\" = \"Sichern\\n\";\n");

    const CliRun scan = cli({"scan", "--db", db, dir.filePath("tree")});
    EXPECT_EQ(scan.status, 0) << scan.err.toStdString();
    EXPECT_EQ(scan.out, "1 groups, 1 keys stored\n");

    const CliRun found = cli({"lookup", "--json", "--column", "en", "--db", db, "Save \"it\""});
    EXPECT_EQ(found.status, 0);
    EXPECT_EQ(found.out, "{\"de\": \"Sichern\\n\", \"en\": \"Save \\\"it\\\"\", \"idx\": \"1\", "
                         "\"search_by\": \"save\"}\n");
    const CliRun missing = cli({"lookup", "--json", "--db", db, "--", "--nothing"});
    EXPECT_EQ(missing.out, "null\n");
    EXPECT_EQ(cli({"lookup", "--column", "sr", "--db", db, "x"}).status, 2);
    const CliRun broken = cli({"lookup", "--db", writeFile(dir.path(), "junk", "junk"), "x"});
    EXPECT_EQ(broken.status, 2);
    EXPECT_EQ(broken.err.count("not a database"), 1);

    writeFile(dir.path(), "proj/en.lproj/Localizable.strings", "\"save\" = \"Save\";\n");
    writeFile(dir.path(), "proj/de.lproj/Localizable.strings", "\"other\" = \"Andere\";\n");
    writeFile(dir.path(), "in/de.strings", "\"save\" = \"Sichern\";\n");
    const CliRun import = cli({"import", dir.filePath("proj"), dir.filePath("in")});
    EXPECT_EQ(import.status, 0) << import.err.toStdString();
    EXPECT_EQ(import.out, "1 texts stored\n");
    EXPECT_TRUE(readFile(dir.filePath("proj/de.lproj/Localizable.strings")).contains("\"save\" = \"Sichern\";"));

    // The desktop's hide-translated view does not keep finished rows from a batch import.
    Settings().setValue(Settings::HideTranslated, true);
    writeFile(dir.path(), "in/de.strings", "\"save\" = \"Speichern\";\n");
    EXPECT_EQ(cli({"import", dir.filePath("proj"), dir.filePath("in")}).out, "1 texts stored\n");
    Settings().remove(Settings::HideTranslated);
    EXPECT_TRUE(readFile(dir.filePath("proj/de.lproj/Localizable.strings")).contains("\"save\" = \"Speichern\";"));
}
