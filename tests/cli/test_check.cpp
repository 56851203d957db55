// verbalo-cli check and the ignored languages: what is reported and how, the
// exit statuses, and --ignore-missing against the "status.ignoredLanguages"
// setting on check, rows and export.
#include "common/settings.h"
#include "pluraldict.h"
#include "testsupport.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// One problem of each kind and text that only looks like a specifier; which
// translations break which rule is the model's concern.
QString writeCheckedProject(const QString &dir)
{
    const PluralTexts one{{"one", "%d file"}, {"other", "%d files"}};
    writeFile(dir, "en.lproj/P.stringsdict", pluralDict("files", "%#@n@", {{"n", one}}));
    writeFile(dir, "de.lproj/P.stringsdict",
              pluralDict("files", "%#@n@", {{"n", {{"other", "%d Dateien"}}}}));
    writeFile(dir, "en.lproj/Localizable.strings",
              "\"arch\" = \"Current architecture: %@\";\n\"plain\" = \"100% sure\";\n"
              "\"lines\" = \"One\\nTwo\";\n\"space\" = \"Name: \";\n");
    writeFile(dir, "fa.lproj/Localizable.strings",
              "\"arch\" = \"@% :معماری کنونی\";\n\"plain\" = \"۱۰۰٪ مطمئن\";\n");
    writeFile(dir, "de.lproj/Localizable.strings",
              "\"plain\" = \"100 % sicher\";\n\"lines\" = \"Eins Zwei\";\n\"space\" = \"Name:\";\n");
    return dir;
}

QStringList reported(const QByteArray &json)
{
    QStringList found;
    for (const QJsonValue &v : QJsonDocument::fromJson(json).array()) {
        const QJsonObject o = v.toObject();
        EXPECT_EQ(o.keys(), (QStringList{"base", "detail", "kind", "language", "rowKey", "text"}));
        EXPECT_FALSE(o.value("detail").toString().isEmpty());
        found << o.value("rowKey").toString() + u' ' + o.value("language").toString() + u' '
                     + o.value("kind").toString();
    }
    return found;
}

QStringList statuses(const QString &root, const QStringList &options = {})
{
    const CliRun run = runCliProgram(QStringList{"rows", "--json"} + options + QStringList{root});
    EXPECT_EQ(run.status, 0) << run.err.constData();
    QStringList texts;
    for (const QJsonValue &v : QJsonDocument::fromJson(run.out).object().value("rows").toArray())
        texts << v.toObject().value("rowKey").toString() + u' ' + v.toObject().value("status").toString();
    return texts;
}

} // namespace

TEST(Check, ReportsEveryBrokenTranslationAndNothingElse)
{
    QTemporaryDir dir;
    const QString root = writeCheckedProject(dir.path());
    const CliRun json = runCliProgram({"check", "--json", root});
    EXPECT_EQ(json.status, 1) << json.err.constData();
    EXPECT_EQ(reported(json.out), (QStringList{"arch-Localizable.strings fa format",
                                               "files-P.stringsdict de plural",
                                               "lines-Localizable.strings de linebreaks",
                                               "space-Localizable.strings de whitespace"}));
    EXPECT_EQ(json.err, "4 problems in 4 rows (1 format, 1 linebreaks, 1 plural, 1 whitespace)\n");

    const CliRun text = runCliProgram({"check", root});
    EXPECT_EQ(text.status, 1);
    const QList<QByteArray> lines = text.out.trimmed().split('\n');
    EXPECT_TRUE(lines.first().startsWith(
        QStringLiteral("arch-Localizable.strings  [fa]  format: \"Current architecture: %@\" -> \"@% :معماری کنونی\"  (")
            .toUtf8()))
        << lines.first().constData();

    // An ignored language is not checked; the exit status follows what is left.
    const CliRun clean = runCliProgram({"check", "--json", "--ignore-missing", "de, fa", root});
    EXPECT_EQ(clean.out, "[]\n");
    EXPECT_EQ(clean.status, 0);

    for (const QStringList &bad : {QStringList{"check"}, QStringList{"check", "--bogus", root},
                                   QStringList{"check", root + "/gone"}, QStringList{"check", root, root}})
        EXPECT_EQ(runCliProgram(bad).status, 2) << bad.join(u' ').toStdString();
    const CliRun help = runCliProgram({"check", "--help"});
    for (const char *kind : {"format", "linebreaks", "whitespace", "plural", "--ignore-missing"})
        EXPECT_TRUE(help.out.contains(kind)) << kind;
}


TEST(Check, IgnoredLanguagesFromTheSettingOrTheFlag)
{
    // Base holds only InfoPlist.strings, as in many real apps.
    QTemporaryDir dir;
    const QString root = dir.path();
    writeFile(root, "Base.lproj/InfoPlist.strings", "\"name\" = \"App\";\n");
    writeFile(root, "en.lproj/Localizable.strings", "\"a\" = \"A\";\n\"b\" = \"B %@\";\n");
    writeFile(root, "de.lproj/Localizable.strings", "\"a\" = \"Ä\";\n\"b\" = \"B\";\n");
    writeFile(root, "en.lproj/InfoPlist.strings", "\"name\" = \"App\";\n");
    writeFile(root, "de.lproj/InfoPlist.strings", "\"name\" = \"App\";\n");
    Settings().remove(Settings::IgnoredLanguages);

    const QStringList designed{"a-Localizable.strings Missing: Base", "b-Localizable.strings Missing: Base",
                               "name-InfoPlist.strings OK (3)"};
    const QStringList ignoringBase{"a-Localizable.strings OK (1)", "b-Localizable.strings OK (1)",
                                   "name-InfoPlist.strings OK (2)"};
    EXPECT_EQ(statuses(root), designed);
    EXPECT_EQ(statuses(root, {"--ignore-missing", "Base"}), ignoringBase);

    // The setting, as a list or one comma-separated text, does the same, and
    // an empty flag sets it aside for one run.
    for (const QVariant &stored : {QVariant(QStringList{"Base"}), QVariant(QStringLiteral(" Base ,"))}) {
        Settings().setValue(Settings::IgnoredLanguages, stored);
        EXPECT_EQ(statuses(root), ignoringBase);
        EXPECT_EQ(statuses(root, {"--ignore-missing", ""}), designed);
    }
    const QString exported = root + "/../untranslated.strings";
    EXPECT_EQ(runCliProgram({"export", root, exported}).status, 0);
    EXPECT_EQ(readFile(exported), QByteArray());
    Settings().setValue(Settings::IgnoredLanguages, QStringList{"de"});
    EXPECT_EQ(runCliProgram({"check", root}).status, 0);
    Settings().remove(Settings::IgnoredLanguages);
    EXPECT_EQ(runCliProgram({"export", root, exported}).status, 0);
    EXPECT_TRUE(readFile(exported).contains("\"b\" = \"B %@\";")) << readFile(exported).constData();
    QFile::remove(exported);
}
