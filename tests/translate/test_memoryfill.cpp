// Filling rows from the translation memory, with a lookup that stands in for
// the database, on a project on disk.
#include "common/settings.h"
#include "common/log.h"
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
        Settings().remove(Settings::BaseLanguage);
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
            if (column == "en" && text == "Full")
                return QMap<QString, QString>{{"de", "Ganz"}};
            return std::nullopt;
        };
    }

    QString file(const QString &folder) const
    {
        return QString::fromUtf8(readFile(QDir(dir.path()).filePath(folder + "/L.strings")));
    }

    QTemporaryDir dir;
    ProjectModel model;
    QStringList asked;
};

} // namespace

TEST_F(MemoryFillTest, AutoTranslateFillsUnfinishedRowsAndSaves)
{
    testing::internal::CaptureStdout();
    const CommandOutcome outcome = MemoryFill::autoTranslate(model, lookup());
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Already fully translated: full-L.strings\n");
    EXPECT_EQ(outcome.saves, 1);
    EXPECT_EQ(outcome.reloads, 1);
    // Each candidate in turn, by its column code ("Base" and "en-US": en_US).
    EXPECT_EQ(asked, (QStringList{"en_US=No", "en=No", "en_US=No", "en_US=Yes", "en=Yes"}));

    const Row yes = model.data.value("yes-L.strings");
    EXPECT_EQ(yes.value("de"), (Entry{"yes", "Ja", QStringLiteral("c")}));
    EXPECT_EQ(yes.value("pt-BR").value, "Sim");
    EXPECT_FALSE(yes.contains("fr"));
    EXPECT_TRUE(file("de.lproj").contains("/*c*/\n\"yes\" = \"Ja\";"));
    EXPECT_TRUE(file("pt-BR").contains("\"yes\" = \"Sim\";"));
    EXPECT_TRUE(file("de.lproj").contains("\"full\" = \"Voll\";"));
}

TEST_F(MemoryFillTest, AutoTranslateSelectedFillsAndSaves)
{
    Settings().setValue(Settings::BaseLanguage, QStringList{"de", "en"});
    const int full = int(model.keys.indexOf("full-L.strings"));
    const int yes = int(model.keys.indexOf("yes-L.strings"));
    EXPECT_TRUE(MemoryFill::autoTranslateSelected(model, {}, lookup()).changedNothing());

    const CommandOutcome outcome =
        MemoryFill::autoTranslateSelected(model, {qMin(full, yes), qMax(full, yes)}, lookup());
    EXPECT_EQ(outcome.saves, 1);
    EXPECT_EQ(outcome.reloads, 1);
    // The German base text is looked up in "de", then in "en"; nothing matches.
    EXPECT_TRUE(asked.contains("de=Voll") && asked.contains("en=Voll"));
    EXPECT_EQ(model.data.value("yes-L.strings").value("de").value, "Jawohl");
    EXPECT_FALSE(file("de.lproj").contains("Ganz"));
    EXPECT_TRUE(file("de.lproj").contains("/**/\n\"yes\" = \"Jawohl\";"));
}

// Entries of languages the project does not have (a cell edit writes every
// base candidate) neither finish a row nor count in its status; texts from
// the memory arrive plain and are held escaped, but not in .txt rows.
TEST_F(MemoryFillTest, OnlyProjectLanguagesCountAndTextsAreHeldAsTheRowHoldsThem)
{
    writeFile(dir.path(), "en.lproj/about.txt", "About");
    model = loadProject(dir.path());
    for (const char *language : {"Base", "en-US"})
        model.data["no-L.strings"].insert(language, model.data.value("no-L.strings").value("en"));
    EXPECT_EQ(model.statusText("no-L.strings"), "Missing: de, pt-BR");
    model.data["full-L.strings"].insert("Base", {"full", "Full", {}});
    EXPECT_EQ(model.statusText("full-L.strings"), "OK (1)");

    const MemoryLookup quoting = [](const QString &, const QString &text) -> std::optional<QMap<QString, QString>> {
        return QMap<QString, QString>{{"de", text + " \"\\\n"}};
    };
    testing::internal::CaptureStdout();
    MemoryFill::autoTranslate(model, quoting);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Already fully translated: full-L.strings\n");
    EXPECT_EQ(model.data.value("no-L.strings").value("de").value, "No \\\"\\\\\\n");
    EXPECT_EQ(model.data.value("about.txt-about.txt").value("de").value, "About \"\\\n");
    EXPECT_EQ(readFile(dir.path() + "/de.lproj/about.txt"), "About \"\\\n");
}

TEST(MemoryFillSpecifiers, TextsWhoseSpecifiersDifferAreNotWritten)
{
    QTemporaryDir dir;
    writeFile(dir.path(), "en.lproj/L.strings", "\"arch\" = \"Current architecture: %@\";\n");
    writeFile(dir.path(), "de.lproj/L.strings", "\"arch\" = \"Architektur: %@\";\n");
    writeFile(dir.path(), "fa.lproj/L.strings", "\"x\" = \"y\";\n");
    writeFile(dir.path(), "fr.lproj/L.strings", "\"x\" = \"y\";\n");
    Settings().remove(Settings::BaseLanguage);
    ProjectModel model = loadProject(dir.path());
    // The memory's German and Persian texts read other arguments; the French one is fine.
    const MemoryLookup lookup = [](const QString &column, const QString &) -> std::optional<QMap<QString, QString>> {
        if (column != "en")
            return std::nullopt;
        return QMap<QString, QString>{
            {"de", "Architektur: %d"}, {"fa", "@% :معماری کنونی"}, {"fr", "Architecture : %@"}};
    };
    testing::internal::CaptureStdout();
    const CommandOutcome outcome = MemoryFill::autoTranslate(model, lookup);
    const std::string log = testing::internal::GetCapturedStdout();
    EXPECT_NE(log.find("Memory text for fa of arch-L.strings not used"), std::string::npos) << log;
    EXPECT_EQ(outcome.message, MemoryFill::refusedMessage(2));
    EXPECT_TRUE(outcome.message.startsWith("2 text")) << outcome.message.toStdString();
    const Row arch = model.data.value("arch-L.strings");
    EXPECT_EQ(arch.value("de").value, "Architektur: %@");
    EXPECT_FALSE(arch.contains("fa"));
    EXPECT_EQ(arch.value("fr").value, "Architecture : %@");
    EXPECT_FALSE(readFile(dir.path() + "/fa.lproj/L.strings").contains("arch"));
}
