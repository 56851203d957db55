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
    EXPECT_EQ(MemoryFill::autoTranslate(model, lookup()).saves, 1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Already fully translated: full-L.strings\n");
    // Each candidate in turn, by its column code ("Base" and "en-US": en_US).
    EXPECT_EQ(asked, (QStringList{"en_US=No", "en=No", "en_US=No", "en_US=Yes", "en=Yes"}));

    const Row yes = model.data.value("yes-L.strings");
    EXPECT_EQ(yes.value("de"), (Entry{"yes", "Ja", QStringLiteral("c")}));
    EXPECT_FALSE(yes.contains("fr"));
    EXPECT_TRUE(file("de.lproj").contains("/*c*/\n\"yes\" = \"Ja\";"));
    EXPECT_TRUE(file("pt-BR").contains("\"yes\" = \"Sim\";"));
    EXPECT_TRUE(file("de.lproj").contains("\"full\" = \"Voll\";"));
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
    EXPECT_TRUE(MemoryFill::autoTranslateSelected(model, {}, lookup).changedNothing());
    const int arch = int(model.keys.indexOf("arch-A.strings"));
    EXPECT_EQ(MemoryFill::autoTranslateSelected(model, {arch}, lookup).message,
              MemoryFill::refusedMessage(1));
    EXPECT_FALSE(MemoryFill::refusedMessage(1).isEmpty());
    EXPECT_FALSE(model.data.value("arch-A.strings").contains("de"));
    EXPECT_EQ(model.data.value("arch-A.strings").value("pt-BR").value, "Arquitetura: %@");
}
