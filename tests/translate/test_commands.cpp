// Filling rows from the translation memory, with a lookup that stands in for
// the database, and verbalo-cli fill and translate run in-process, on one
// project on disk.
#include "cli/cli.h"
#include "common/log.h"
#include "common/settings.h"
#include "fakehttpserver.h"
#include "memory/databasemanagerv2.h"
#include "model/projectmodel.h"
#include "testsupport.h"
#include "translate/memoryfill.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class MemoryFillTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Settings().remove(Settings::GoogleApiKey);
        Log::setSink(Log::Sink::StandardOutput);
        writeFile(dir.path(), "en.lproj/L.strings",
                  "/*c*/\n\"yes\" = \"Yes\";\n\"no\" = \"No\";\n\"full\" = \"Full\";\n");
        writeFile(dir.path(), "de.lproj/L.strings", "\"yes\" = \"Jawohl\";\n\"full\" = \"Voll\";\n");
        writeFile(dir.path(), "pt-BR/L.strings", "\"full\" = \"Cheio\";\n");
        model = loadProject(dir.path());
    }

    MemoryLookup lookup()
    {
        return [this](const QString &column, const QString &text)
                   -> std::optional<QMap<QString, QString>> {
            asked << column + "=" + text;
            if (column == "en" && text == "Yes")
                return QMap<QString, QString>{{"en", "Yes"}, {"de", "Ja"}, {"pt_BR", "Sim"}, {"fr", "Oui"}};
            return std::nullopt;
        };
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

    QString file(const QString &folder) const
    {
        return QString::fromUtf8(readFile(QDir(dir.path()).filePath(folder + "/L.strings")));
    }

    QTemporaryDir dir;
    ProjectModel model;
    QStringList asked;
    QString errors;
    QString output;
};

} // namespace

TEST_F(MemoryFillTest, AutoTranslateFillsUnfinishedRowsAndSaves)
{
    testing::internal::CaptureStdout();
    EXPECT_EQ(MemoryFill::autoTranslate(model, lookup()).saves, 1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Already fully translated: full-L.strings\n");
    // Each candidate in turn, by its column code ("Base" and "en-US": en_US).
    EXPECT_EQ(asked, (QStringList{"en_US=No", "en=No", "en_US=No", "en_US=Yes", "en=Yes"}));

    const Row yes = model.data.value("yes-L.strings");
    EXPECT_EQ(yes.value("de"), (Entry{"yes", "Ja", QStringLiteral("c")}));
    EXPECT_TRUE(file("de.lproj").contains("/*c*/\n\"yes\" = \"Ja\";"));
    EXPECT_TRUE(file("pt-BR").contains("\"yes\" = \"Sim\";"));
}

// Entries of languages the project does not have (a cell edit writes every
// base candidate) do not finish a row; texts from the memory arrive plain and
// are held escaped, but not in .txt rows.
TEST_F(MemoryFillTest, OnlyProjectLanguagesCountAndTextsAreHeldAsTheRowHoldsThem)
{
    writeFile(dir.path(), "en.lproj/about.txt", "About");
    model = loadProject(dir.path());
    for (const char *language : {"Base", "en-US"})
        model.data["no-L.strings"].insert(language, model.data.value("no-L.strings").value("en"));
    model.data["full-L.strings"].insert("Base", {"full", "Full", {}});

    const MemoryLookup quoting = [](const QString &, const QString &text) -> std::optional<QMap<QString, QString>> {
        return QMap<QString, QString>{{"de", text + " \"\\\n"}};
    };
    MemoryFill::autoTranslate(model, quoting);
    EXPECT_EQ(model.data.value("no-L.strings").value("de").value, "No \\\"\\\\\\n");
    EXPECT_EQ(model.data.value("full-L.strings").value("de").value, "Voll");
    EXPECT_EQ(readFile(dir.path() + "/de.lproj/about.txt"), "About \"\\\n");
}

TEST_F(MemoryFillTest, TextsWhoseSpecifiersDifferAreNotWrittenAndAreReported)
{
    writeFile(dir.path(), "en.lproj/A.strings", "\"arch\" = \"Architecture: %@\";\n");
    model = loadProject(dir.path());
    // The memory's German text reads another argument; the Portuguese one is fine.
    const MemoryLookup lookup = [](const QString &, const QString &) {
        return std::optional<QMap<QString, QString>>(
            {{"de", "Architektur: %d"}, {"pt_BR", "Arquitetura: %@"}});
    };
    const int arch = int(model.keys.indexOf("arch-A.strings"));
    EXPECT_EQ(MemoryFill::autoTranslateSelected(model, {arch}, lookup).message,
              MemoryFill::refusedMessage(1));
    EXPECT_FALSE(MemoryFill::refusedMessage(1).isEmpty());
    EXPECT_FALSE(model.data.value("arch-A.strings").contains("de"));
    EXPECT_EQ(model.data.value("arch-A.strings").value("pt-BR").value, "Arquitetura: %@");
}

// Fill takes the given memory and rows; translate sends the unfinished rows
// with the first key given.
TEST_F(MemoryFillTest, CliFillAndTranslate)
{
    const QString path = QDir(dir.path()).filePath("memory.sqlite");
    EXPECT_EQ(DatabaseManagerV2(path).storeTranslations({{"yes", {{"en", "Yes"}, {"de", "Ja"}}},
                                                         {"no", {{"en", "No"}, {"de", "Nein"}}}}),
              2);
    EXPECT_EQ(run({"fill", "--db", path, "--row-key", "no-L.strings", dir.path()}), 0);
    EXPECT_TRUE(file("de.lproj").contains("\"no\" = \"Nein\";"));
    EXPECT_TRUE(file("de.lproj").contains("\"yes\" = \"Jawohl\";"));
    EXPECT_EQ(run({"fill", "--db", path, "--row-key", "nope-L.strings", dir.path()}), 2);

    FakeHttpServer server;
    server.setHandler([](const FakeRequest &) {
        return FakeResponse{200, FakeHttpServer::translation("Neu")};
    });
    qputenv("VERBALO_TRANSLATE_URL", server.url().toString().toUtf8());
    EXPECT_EQ(run({"translate", dir.path()}), 2);
    EXPECT_TRUE(errors.contains("no API key"));

    // A row without a base entry stops a selection there, after the rows before it.
    writeFile(dir.path(), "de.lproj/L.strings", "\"p\" = \"Nur deutsch\";\n");
    Settings().setValue(Settings::GoogleApiKey, QStringLiteral("stored"));
    EXPECT_EQ(run({"translate", "--row-key", "no-L.strings", "--row-key", "p-L.strings",
                   "--row-key", "yes-L.strings", dir.path()}),
              0);
    EXPECT_TRUE(errors.contains("stopped at p-L.strings, which has no base entry"));
    EXPECT_TRUE(file("de.lproj").contains("\"no\" = \"Neu\";"));
    EXPECT_EQ(server.requests().size(), 2);
    EXPECT_EQ(server.requests().last().query(), "key=stored");

    // Without a selection such rows are left out and do not stop the others.
    EXPECT_EQ(run({"translate", dir.path()}), 0);
    EXPECT_TRUE(errors.contains("skipped 1 rows without a base entry"));
    EXPECT_EQ(output, "3 of 3 missing texts translated\n");
    EXPECT_TRUE(file("de.lproj").contains("\"p\" = \"Nur deutsch\";"));

    // Most private first: the key file, the option, the environment, the setting.
    qputenv("VERBALO_GOOGLE_API_KEY", " from-env\n");
    const QString key = writeFile(dir.path(), "key.txt", "  from-file \nsecond line\n");
    const std::pair<QStringList, const char *> cases[] = {
        {{"--api-key-file", key, "--api-key", "from-option"}, "key=from-file"},
        {{"--api-key", "from-option"}, "key=from-option"},
        {{}, "key=from-env"}};
    for (const auto &[options, query] : cases) {
        writeFile(dir.path(), "de.lproj/L.strings", "\n");
        EXPECT_EQ(run(QStringList{"translate"} + options +
                      QStringList{"--row-key", "no-L.strings", dir.path()}),
                  0);
        EXPECT_EQ(server.requests().last().query(), query);
    }
    for (const QString &path :
         {dir.filePath("missing.txt"), writeFile(dir.path(), "empty.txt", "\n")}) {
        EXPECT_EQ(run({"translate", "--api-key-file", path, dir.path()}), 2);
        EXPECT_TRUE(errors.contains("API key file " + path)) << errors.toStdString();
    }
    qunsetenv("VERBALO_GOOGLE_API_KEY");

    // Every request failing is not reported as success.
    writeFile(dir.path(), "de.lproj/L.strings", "\n");
    server.setHandler([](const FakeRequest &) { return FakeResponse{500, QByteArray()}; });
    EXPECT_EQ(run({"translate", "--row-key", "no-L.strings", dir.path()}), 2);
    EXPECT_TRUE(errors.contains("no translation was received"));
    qunsetenv("VERBALO_TRANSLATE_URL");
}
