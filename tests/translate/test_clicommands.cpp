// verbalo-cli export, fill and translate, run in-process on projects on disk.
#include "cli/cli.h"
#include "common/settings.h"
#include "fakehttpserver.h"
#include "memory/databasemanagerv2.h"
#include "testsupport.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class CliCommandsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Settings().remove(Settings::BaseLanguage);
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

TEST_F(CliCommandsTest, ExportWritesTheUntranslatedRows)
{
    const QString out = QDir(dir.path()).filePath("out.strings");
    EXPECT_EQ(run({"export", root, out}), 0);
    EXPECT_EQ(readFile(out), "/**/\n\"no\" = \"No\";\n\n/**/\n\"yes\" = \"Yes\";\n\n");
    EXPECT_EQ(run({"export", "--base-language", "de", root, out}), 0);
    EXPECT_EQ(readFile(out), "");
    EXPECT_EQ(run({"export", root, QDir(dir.path()).filePath("missing/out.strings")}), 2);
    EXPECT_EQ(run({"export", root}), 2);
}

TEST_F(CliCommandsTest, FillUsesTheGivenMemoryAndSaves)
{
    const QString path = QDir(dir.path()).filePath("memory.sqlite");
    {
        DatabaseManagerV2 memory(path);
        ASSERT_TRUE(memory.isOpen());
        EXPECT_EQ(memory.storeTranslations({{"yes", {{"en", "Yes"}, {"de", "Ja"}}},
                                            {"no", {{"en", "No"}, {"de", "Nein"}}}}),
                  2);
    }
    EXPECT_EQ(run({"fill", "--db", path, "--row-key", "no-L.strings", root}), 0);
    EXPECT_TRUE(german().contains("\"no\" = \"Nein\";"));
    EXPECT_FALSE(german().contains("\"yes\""));

    EXPECT_EQ(run({"fill", "--db", path, root}), 0);
    EXPECT_TRUE(german().contains("\"yes\" = \"Ja\";"));

    EXPECT_EQ(run({"fill", "--db", path, "--row-key", "nope-L.strings", root}), 2);
    EXPECT_EQ(errors, "verbalo-cli: no such row key: nope-L.strings\n");
    EXPECT_EQ(run({"fill", "--db", QDir(dir.path()).filePath("none.sqlite"), root}), 2);
}

// Which rows a translate sends and where it stops; where its key comes from.
TEST_F(CliCommandsTest, TranslateSendsTheUnfinishedRowsWithAKeyFromOptionFileEnvironmentOrSetting)
{
    FakeHttpServer server;
    server.setHandler([](const FakeRequest &r) {
        const QJsonObject body = QJsonDocument::fromJson(r.body).object();
        return FakeResponse{200, FakeHttpServer::translation("de " + body["q"].toString())};
    });
    qputenv("VERBALO_TRANSLATE_URL", server.url().toString().toUtf8());

    EXPECT_EQ(run({"translate", root}), 2);
    EXPECT_TRUE(errors.contains("no API key"));
    EXPECT_TRUE(server.requests().isEmpty());

    EXPECT_EQ(run({"translate", "--api-key", "secret", "--row-key", "yes-L.strings", root}), 0);
    EXPECT_EQ(server.requests().size(), 1);
    EXPECT_EQ(server.requests().first().query(), "key=secret");
    EXPECT_TRUE(german().contains("\"yes\" = \"de Yes\";"));

    // A row without a base entry is left out and does not stop the others.
    writeFile(root, "de.lproj/L.strings",
              "\"done\" = \"Fertig\";\n\"a\" = \"Nur deutsch\";\n\"yes\" = \"de Yes\";\n");
    Settings().setValue(Settings::GoogleApiKey, QStringLiteral("stored"));
    EXPECT_EQ(run({"translate", root}), 0);
    EXPECT_TRUE(errors.contains("skipped 1 rows without a base entry"));
    EXPECT_EQ(server.requests().size(), 2);
    EXPECT_EQ(server.requests().last().query(), "key=stored");
    EXPECT_TRUE(german().contains("\"no\" = \"de No\";"));
    EXPECT_TRUE(errors.contains("finished 1 of 1 keys"));
    EXPECT_EQ(output, "1 of 1 missing texts translated\n");

    // Saving dropped the row without a base entry; it comes back for the
    // explicit selection, which stops at it.
    writeFile(root, "de.lproj/L.strings", "\"a\" = \"Nur deutsch\";\n");
    EXPECT_EQ(run({"translate", "--row-key", "a-L.strings", "--row-key", "no-L.strings", root}), 0);
    EXPECT_TRUE(errors.contains("stopped at a-L.strings, which has no base entry"));
    EXPECT_EQ(server.requests().size(), 2);
    EXPECT_EQ(run({"translate", "--row-key", "x", root}), 2);

    // The key file beats the option, and the environment beats the setting.
    qputenv("VERBALO_GOOGLE_API_KEY", " from-env\n");
    const QString file = writeFile(dir.path(), "key.txt", "  from-file \nsecond line\n");
    const std::pair<QStringList, const char *> cases[] = {
        {{"--api-key-file", file, "--api-key", "from-option"}, "key=from-file"},
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
    EXPECT_EQ(run({"translate", "--help"}), 0);
    EXPECT_TRUE(output.contains("--api-key-file FILE") &&
                output.contains("VERBALO_GOOGLE_API_KEY"));
    qunsetenv("VERBALO_GOOGLE_API_KEY");

    // Every request failing is not reported as success.
    writeFile(root, "de.lproj/L.strings", "\"done\" = \"Fertig\";\n");
    server.setHandler([](const FakeRequest &) { return FakeResponse{500, QByteArray()}; });
    EXPECT_EQ(run({"translate", "--row-key", "no-L.strings", root}), 2);
    EXPECT_TRUE(errors.contains("no translation was received"));
    Settings().remove(Settings::GoogleApiKey);
    qunsetenv("VERBALO_TRANSLATE_URL");
}
