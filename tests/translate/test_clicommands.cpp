// verbalo-cli fill and translate, run in-process on projects on disk.
#include "cli/cli.h"
#include "common/settings.h"
#include "fakehttpserver.h"
#include "memory/databasemanagerv2.h"
#include "testsupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class CliCommandsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Settings().remove(Settings::GoogleApiKey);
        root = QDir(dir.path()).filePath("App");
        writeFile(root, "en.lproj/L.strings",
                  "\"yes\" = \"Yes\";\n\"no\" = \"No\";\n\"done\" = \"Done\";\n");
        writeFile(root, "de.lproj/L.strings", "\"done\" = \"Fertig\";\n");
    }

    int run(const QStringList &arguments)
    {
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        const int status = runCli(arguments);
        errors = QString::fromStdString(testing::internal::GetCapturedStderr());
        output = QString::fromStdString(testing::internal::GetCapturedStdout());
        return status;
    }

    QString german() const
    {
        return QString::fromUtf8(readFile(QDir(root).filePath("de.lproj/L.strings")));
    }

    QTemporaryDir dir;
    QString root;
    QString errors;
    QString output;
};

} // namespace

TEST_F(CliCommandsTest, FillUsesTheGivenMemoryForTheGivenRows)
{
    const QString path = QDir(dir.path()).filePath("memory.sqlite");
    EXPECT_EQ(DatabaseManagerV2(path).storeTranslations({{"yes", {{"en", "Yes"}, {"de", "Ja"}}},
                                                         {"no", {{"en", "No"}, {"de", "Nein"}}}}),
              2);
    EXPECT_EQ(run({"fill", "--db", path, "--row-key", "no-L.strings", root}), 0);
    EXPECT_TRUE(german().contains("\"no\" = \"Nein\";"));
    EXPECT_FALSE(german().contains("\"yes\""));
    EXPECT_EQ(run({"fill", "--db", path, "--row-key", "nope-L.strings", root}), 2);
    EXPECT_EQ(run({"fill", "--db", QDir(dir.path()).filePath("none.sqlite"), root}), 2);
}

TEST_F(CliCommandsTest, TranslateSendsTheUnfinishedRowsWithTheFirstKeyGiven)
{
    FakeHttpServer server;
    server.setHandler([](const FakeRequest &) {
        return FakeResponse{200, FakeHttpServer::translation("Deutsch")};
    });
    qputenv("VERBALO_TRANSLATE_URL", server.url().toString().toUtf8());
    EXPECT_EQ(run({"translate", root}), 2);
    EXPECT_TRUE(errors.contains("no API key"));

    // A row without a base entry stops a selection there, after the rows before it.
    writeFile(root, "de.lproj/L.strings", "\"done\" = \"Fertig\";\n\"a\" = \"Nur deutsch\";\n");
    Settings().setValue(Settings::GoogleApiKey, QStringLiteral("stored"));
    EXPECT_EQ(run({"translate", "--row-key", "no-L.strings", "--row-key", "a-L.strings",
                   "--row-key", "yes-L.strings", root}),
              0);
    EXPECT_TRUE(errors.contains("stopped at a-L.strings, which has no base entry"));
    EXPECT_TRUE(german().contains("\"no\" = \"Deutsch\";"));
    EXPECT_EQ(server.requests().size(), 1);
    EXPECT_EQ(server.requests().last().query(), "key=stored");

    // Without a selection such rows are left out and do not stop the others.
    EXPECT_EQ(run({"translate", root}), 0);
    EXPECT_TRUE(errors.contains("skipped 1 rows without a base entry"));
    EXPECT_EQ(output, "1 of 1 missing texts translated\n");
    EXPECT_TRUE(german().contains("\"yes\" = \"Deutsch\";"));
    EXPECT_TRUE(german().contains("\"a\" = \"Nur deutsch\";"));

    // Most private first: the key file, the option, the environment, the setting.
    qputenv("VERBALO_GOOGLE_API_KEY", " from-env\n");
    const QString file = writeFile(dir.path(), "key.txt", "  from-file \nsecond line\n");
    const std::pair<QStringList, const char *> cases[] = {
        {{"--api-key-file", file, "--api-key", "from-option"}, "key=from-file"},
        {{"--api-key", "from-option"}, "key=from-option"},
        {{}, "key=from-env"}};
    for (const auto &[options, query] : cases) {
        writeFile(root, "de.lproj/L.strings", "\"done\" = \"Fertig\";\n");
        EXPECT_EQ(run(QStringList{"translate"} + options +
                      QStringList{"--row-key", "no-L.strings", root}),
                  0);
        EXPECT_EQ(server.requests().last().query(), query);
    }
    for (const QString &path :
         {dir.filePath("missing.txt"), writeFile(dir.path(), "empty.txt", "\n")}) {
        EXPECT_EQ(run({"translate", "--api-key-file", path, root}), 2);
        EXPECT_TRUE(errors.contains("API key file " + path)) << errors.toStdString();
    }
    qunsetenv("VERBALO_GOOGLE_API_KEY");

    // Every request failing is not reported as success.
    writeFile(root, "de.lproj/L.strings", "\"done\" = \"Fertig\";\n");
    server.setHandler([](const FakeRequest &) { return FakeResponse{500, QByteArray()}; });
    EXPECT_EQ(run({"translate", "--row-key", "no-L.strings", root}), 2);
    EXPECT_TRUE(errors.contains("no translation was received"));
    qunsetenv("VERBALO_TRANSLATE_URL");
}
