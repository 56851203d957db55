// Plural (.stringsdict) and String Catalog (.xcstrings) files in a project:
// rows and languages on load, byte-exact saves, edits that touch only their
// own lines, kept malformed files, the panel's variant lines and the check.
#include "editor/cellediting.h"
#include "linediff.h"
#include "memory/translationspanel.h"
#include "model/pluralcheck.h"
#include "model/projectdiscovery.h"
#include "pluraldict.h"
#include "testsupport.h"

#include <QDateTime>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

QByteArray dict(const PluralTexts &files, const PluralTexts &folders)
{
    return pluralDict("%d files in %d folders", "%#@files@ in %#@folders@",
                      {{"files", files}, {"folders", folders}});
}

const QByteArray kEnglishDict = dict({{"one", "%d file"}, {"other", "%d files"}},
                                     {{"one", "one folder"}, {"other", "%d folders"}});
const PluralTexts kArabicFiles{{"zero", "لا ملفات"}, {"one", "ملف"},      {"two", "ملفان"},
                               {"few", "%d ملفات"},  {"many", "%d ملفًا"}, {"other", "%d ملف"}};
const QByteArray kArabicDict = dict(kArabicFiles, kArabicFiles);
const PluralTexts kRussianFolders{
    {"one", "%d папке"}, {"few", "%d папках"}, {"many", "%d папках"}, {"other", "%@ папках"}};
const QByteArray kRussianDict = dict({{"one", "%d файл"}, {"other", "%d файлов"}}, kRussianFolders);

// One unit to a line: Xcode's own layout is the catalog document's tests' concern.
const QByteArray kCatalog = R"({
  "sourceLanguage" : "en",
  "strings" : {
    "%lld files" : {
      "comment" : "Sidebar count",
      "localizations" : {
        "de" : { "variations" : { "plural" : {
          "one" : { "stringUnit" : { "state" : "translated", "value" : "%lld Datei" } },
          "other" : { "stringUnit" : { "state" : "needs_review", "value" : "%lld Dateien" } }
        } } },
        "en" : { "variations" : { "plural" : {
          "one" : { "stringUnit" : { "state" : "translated", "value" : "%lld file" } },
          "other" : { "stringUnit" : { "state" : "translated", "value" : "%lld files" } }
        } } }
      }
    },
    "%lld of %lld" : {
      "localizations" : {
        "en" : {
          "stringUnit" : { "state" : "translated", "value" : "%1$lld of %2$#@total@" },
          "substitutions" : { "total" : {
            "argNum" : 2, "formatSpecifier" : "lld", "variations" : { "plural" : {
              "one" : { "stringUnit" : { "state" : "translated", "value" : "%arg item" } },
              "other" : { "stringUnit" : { "state" : "translated", "value" : "%arg items" } }
            } } } }
        }
      }
    },
    "Done" : {
      "extractionState" : "manual",
      "localizations" : {
        "de" : { "stringUnit" : { "state" : "stale", "value" : "Fertig" } },
        "fr" : { "stringUnit" : { "state" : "new", "value" : "Terminé" } }
      }
    },
    "Internal" : { "shouldTranslate" : false },
    "Tap to open" : {
      "localizations" : {
        "de" : { "variations" : { "device" : {
          "iphone" : { "stringUnit" : { "state" : "translated", "value" : "Zum Öffnen tippen" } },
          "other" : { "stringUnit" : { "state" : "translated", "value" : "Zum Öffnen klicken" } }
        } } }
      }
    },
    "Empty" : { "localizations" : { } }
  },
  "version" : "1.0"
})";

struct Fixture
{
    QTemporaryDir dir;
    QString root() const { return dir.path() + "/App"; }
    QString path(const QString &relative) const { return root() + "/" + relative; }
    Fixture()
    {
        writeFile(dir.path(), "App/en.lproj/Localizable.strings", "\"title\" = \"Files\";\n");
        writeFile(dir.path(), "App/en.lproj/Plurals.stringsdict", kEnglishDict);
        writeFile(dir.path(), "App/ar.lproj/Plurals.stringsdict", kArabicDict);
        writeFile(dir.path(), "App/ru.lproj/Plurals.stringsdict", kRussianDict);
        writeFile(dir.path(), "App/Main.xcstrings", kCatalog);
    }
};

const QString kDictRow = QStringLiteral("%d files in %d folders-Plurals.stringsdict");

TEST(VariantFiles, LoadGivesRowsLanguagesAndBaseValuesAndAnUnchangedSaveWritesNothing)
{
    Fixture f;
    const QStringList files = {"en.lproj/Plurals.stringsdict", "ar.lproj/Plurals.stringsdict",
                               "ru.lproj/Plurals.stringsdict", "Main.xcstrings"};
    QList<QDateTime> times;
    for (const QString &file : files)
        times << QFileInfo(f.path(file)).lastModified();
    ProjectModel model = loadProject(f.root());
    for (const char *language : {"ar", "en", "ru", "de", "fr"})
        EXPECT_TRUE(model.languages.contains(language)) << language;
    EXPECT_EQ(model.languages.count("en"), 1);
    ASSERT_TRUE(model.data.contains(kDictRow));
    EXPECT_EQ(model.mapKeyToFile.value(kDictRow), "Plurals.stringsdict");
    EXPECT_EQ(model.data.value(kDictRow).value("en").value, "%d files");
    EXPECT_EQ(model.data.value(kDictRow).value("ar").variants.size(), 12);
    EXPECT_EQ(model.data.value(kDictRow).value("ar").variants.at(1).path, "files/one");

    const Row plural = model.data.value("%lld files-Main.xcstrings");
    EXPECT_EQ(plural.value("en").value, "%lld files");
    EXPECT_EQ(plural.value("de").variants.at(1).state, "needs_review");
    EXPECT_EQ(plural.value("de").comment, "Sidebar count");
    // Without a source unit the key is the source text.
    EXPECT_EQ(model.data.value("Done-Main.xcstrings").value("en").value, "Done");
    EXPECT_EQ(model.data.value("Tap to open-Main.xcstrings").value("de").value,
              "Zum Öffnen klicken");
    EXPECT_TRUE(model.data.contains("Empty-Main.xcstrings"));
    EXPECT_TRUE(model.statusText("Done-Main.xcstrings").startsWith("Missing: "));
    EXPECT_FALSE(model.statusText("Done-Main.xcstrings").contains("de"));
    EXPECT_TRUE(model.keptFiles.isEmpty());

    // Not even rewritten with the same bytes.
    QThread::msleep(20);
    EXPECT_TRUE(model.save().ok());
    for (qsizetype i = 0; i < files.size(); ++i)
        EXPECT_EQ(QFileInfo(f.path(files.at(i))).lastModified(), times.at(i))
            << files.at(i).toStdString();
}

TEST(VariantFiles, EachEditChangesOnlyItsUnitsLinesAndKeysAndCommentsStay)
{
    Fixture f;
    ProjectModel model = loadProject(f.root());
    ASSERT_TRUE(TranslationsPanel::storeTranslation(model, kDictRow, "ar", "ملف واحد",
                                                    QString("files/one")));
    EXPECT_EQ(diffLines(kArabicDict, readFile(f.path("ar.lproj/Plurals.stringsdict"))),
              (LineDiff{{"\t\t\t<string>ملف</string>"}, {"\t\t\t<string>ملف واحد</string>"}}));
    EXPECT_EQ(readFile(f.path("ru.lproj/Plurals.stringsdict")), kRussianDict);

    ASSERT_TRUE(TranslationsPanel::storeTranslation(model, "%lld files-Main.xcstrings", "de",
                                                    "%lld Dateien!", QString("plural/other")));
    EXPECT_EQ(readFile(f.path("Main.xcstrings")),
              QByteArray(kCatalog).replace(R"("needs_review", "value" : "%lld Dateien")",
                                           R"("translated", "value" : "%lld Dateien!")"));
    // Keys and comments are not edited in the table; a command that knows only
    // values (the value column, a bulk command) edits the primary variant.
    const int row = int(model.keys.indexOf(kDictRow));
    for (const Column column : {Column::Key, Column::Comment}) {
        const CommandOutcome outcome =
            CellEditing::setObjectValue(model, QString("renamed"), column, row);
        EXPECT_EQ(outcome.saves, 0);
        EXPECT_FALSE(outcome.message.isEmpty());
    }
    EXPECT_EQ(CellEditing::setObjectValue(model, QString("%d Files"), Column::Value, row).saves, 1);
    EXPECT_EQ(diffLines(kEnglishDict, readFile(f.path("en.lproj/Plurals.stringsdict"))),
              (LineDiff{{"\t\t\t<string>%d files</string>"}, {"\t\t\t<string>%d Files</string>"}}));
    EXPECT_EQ(loadProject(f.root()).data.value(kDictRow).value("ar").variants.at(1).value,
              "ملف واحد");
}

TEST(VariantFiles, NewLanguageEntriesAndRemovals)
{
    Fixture f;
    ProjectModel model = loadProject(f.root());
    // A catalog language gains a unit; a removed translation loses its units.
    ASSERT_TRUE(
        TranslationsPanel::storeTranslation(model, "Done-Main.xcstrings", "ar", "تم", QString("")));
    ASSERT_TRUE(
        TranslationsPanel::storeTranslation(model, "Done-Main.xcstrings", "fr", " ", QString("")));
    ProjectModel again = loadProject(f.root());
    EXPECT_EQ(again.data.value("Done-Main.xcstrings").value("ar").variants,
              (QList<EntryVariant>{{"", "تم", "translated"}}));
    EXPECT_FALSE(again.data.value("Done-Main.xcstrings").contains("fr"));
    EXPECT_EQ(again.data.value("Internal-Main.xcstrings").value("en").value, "Internal");
    EXPECT_TRUE(readFile(f.path("Main.xcstrings")).contains("\"shouldTranslate\" : false"));

    // A text from the memory or an import replaces only the primary variant.
    Row arabic = again.data.value(kDictRow);
    VariantFiles::storeText(arabic, "ar", Entry{"k", "%d ملفات!", std::nullopt});
    EXPECT_EQ(arabic.value("ar").variants.size(), 12);
    EXPECT_EQ(arabic.value("ar").value, "%d ملفات!");

    // A .stringsdict key reaches a language folder that had no such file.
    writeFile(f.dir.path(), "App/de.lproj/Localizable.strings", "\"title\" = \"Dateien\";\n");
    ProjectModel withGerman = loadProject(f.root());
    Row row = withGerman.data.value(kDictRow);
    row.insert("de", Entry{row.value("en").key, "%d Dateien", std::nullopt});
    withGerman.data.insert(kDictRow, row);
    EXPECT_TRUE(withGerman.save().ok());
    const Row german = loadProject(f.root()).data.value(kDictRow);
    EXPECT_EQ(german.value("de").value, "%d Dateien");
    EXPECT_EQ(german.value("de").variants.at(0).path, "files/other");
}

TEST(VariantFiles, MalformedFilesAreKeptAndReported)
{
    // A property list that reads fine but holds a rule this editor cannot write.
    const QByteArray width =
        QByteArray(kEnglishDict).replace("NSStringPluralRuleType", "NSStringVariableWidthRuleType");
    QTemporaryDir dir;
    writeFile(dir.path(), "en.lproj/A.strings", "\"k\" = \"v\";\n");
    writeFile(dir.path(), "en.lproj/Width.stringsdict", width);
    writeFile(dir.path(), "Broken.xcstrings", "{\"sourceLanguage\" : \"en\", \"strings\" : [");
    ProjectModel model = loadProject(dir.path());
    EXPECT_EQ(model.keptFiles.size(), 2);
    EXPECT_EQ(model.variantFiles.problems().size(), 2);
    EXPECT_EQ(model.data.size(), 1);
    model.data["k-A.strings"]["en"].value = "w";
    model.save();
    EXPECT_EQ(readFile(dir.path() + "/en.lproj/Width.stringsdict"), width);
}

TEST(VariantFiles, PanelListsOneLinePerLanguageAndCategory)
{
    Fixture f;
    ProjectModel model = loadProject(f.root());
    TranslationsPanel panel;
    panel.show(kDictRow, model.data.value(kDictRow), {"en", "ru"});
    QStringList labels;
    for (int i = 0; i < panel.rowCount(); ++i)
        labels << panel.cellText(PanelColumn::Language, i);
    // Russian lists the many of its rules though its file lacks it.
    EXPECT_EQ(labels,
              (QStringList{"en · files · one", "en · files · other", "en · folders · one",
                           "en · folders · other", "ru · files · one", "ru · files · few",
                           "ru · files · many", "ru · files · other", "ru · folders · one",
                           "ru · folders · few", "ru · folders · many", "ru · folders · other"}));
    EXPECT_EQ(panel.cellText(PanelColumn::Translation, 7), "%d файлов");
    EXPECT_EQ(panel.cellText(PanelColumn::Translation, 5), "");
    // Problems are asked per line: the last lines are Russian, which lacks categories.
    EXPECT_TRUE(panel.problemsAt(0, model.candidates(), {}).isEmpty());
    EXPECT_FALSE(panel.problemsAt(11, model.candidates(), {}).isEmpty());

    panel.show("%lld files-Main.xcstrings", model.data.value("%lld files-Main.xcstrings"), {"de"});
    EXPECT_EQ(panel.cellText(PanelColumn::Language, 1), "de · other [needs_review]");
    ASSERT_TRUE(panel.edit(1, "%lld Dateien", model.candidates()));
    EXPECT_EQ(panel.cellText(PanelColumn::Language, 1), "de · other [translated]");
}

TEST(VariantFiles, PluralCheck)
{
    Fixture f;
    ProjectModel model = loadProject(f.root());
    const QList<PluralProblem> problems =
        PluralCheck::check(kDictRow, model.data.value(kDictRow), model.candidates());
    ASSERT_EQ(problems.size(), 2);
    EXPECT_EQ(problems.at(0), (PluralProblem{"ru", "plural", "lacks few, many (files)"}));
    EXPECT_EQ(problems.at(1).language, "ru");
    EXPECT_TRUE(problems.at(1).detail.startsWith("folders · other: "))
        << problems.at(1).detail.toStdString();
    const QList<PluralProblem> review =
        PluralCheck::check("%lld files-Main.xcstrings",
                           model.data.value("%lld files-Main.xcstrings"), model.candidates());
    EXPECT_EQ(review, (QList<PluralProblem>{{"de", "review", "needs review (other)"}}));
}

TEST(VariantFiles, DiscoveryFindsCatalogsAnywhere)
{
    QTemporaryDir dir;
    writeFile(dir.path(), "App/en.lproj/A.strings", "\"k\" = \"v\";\n");
    writeFile(dir.path(), "App/Main.xcstrings", kCatalog);
    writeFile(dir.path(), "Widget/Sources/Widget.xcstrings", kCatalog);
    writeFile(dir.path(), "Pods/X/X.xcstrings", kCatalog);
    writeFile(dir.path(), "Only/de.lproj/P.stringsdict", kEnglishDict);
    EXPECT_EQ(
        ProjectDiscovery::discover(dir.path()),
        (QStringList{dir.path() + "/App", dir.path() + "/Only", dir.path() + "/Widget/Sources"}));
}

} // namespace
