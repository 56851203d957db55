// runCli in-process: options that must not outlive one command.
#include "app/settings.h"
#include "cli/cli.h"
#include "testsupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(RunCli, BaseLanguageOverrideEndsWithTheCommand)
{
    QTemporaryDir first;
    QTemporaryDir second;
    const QByteArray text = "\"k\" = \"v\";\n";
    writeFile(first.path(), "en.lproj/A.strings", text);
    writeFile(second.path(), "en.lproj/A.strings", text);
    Settings().remove(Settings::BaseLanguage);

    // With German as the only base language the English-only row is not written.
    EXPECT_EQ(runCli({"rewrite", "--base-language", "de", first.path()}), 0);
    EXPECT_EQ(readFile(first.path() + "/en.lproj/A.strings"), QByteArray("\n"));
    // The next command is back to the setting's candidates.
    EXPECT_EQ(runCli({"rewrite", second.path()}), 0);
    EXPECT_EQ(readFile(second.path() + "/en.lproj/A.strings"), QByteArray("\n/**/\n\"k\" = \"v\";\n\n"));
    EXPECT_EQ(Settings().baseLanguageCandidates(), Settings::defaultBaseLanguages());
}
