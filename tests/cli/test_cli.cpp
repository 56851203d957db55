// verbalo-cli as scripts see it: the built binary, its JSON shapes, exit
// statuses and one-line errors, and a rewrite round trip of the demo project;
// runCli in-process, whose options must not outlive one command.
#include "cli/cli.h"
#include "common/settings.h"
#include "testsupport.h"

#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

CliRun cli(const QStringList &arguments)
{
    return runCliProgram(arguments);
}
QJsonObject object(const QByteArray &line)
{
    return QJsonDocument::fromJson(line).object();
}

// Every file below a folder with its bytes.
QMap<QString, QByteArray> snapshot(const QString &root)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(path.mid(root.size() + 1), readFile(path));
    }
    return files;
}

void expectUsageError(const CliRun &run)
{
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_TRUE(run.err.startsWith("verbalo-cli: ")) << run.err.constData();
    EXPECT_EQ(run.err.count('\n'), 1) << run.err.constData();
}

} // namespace

TEST(Cli, EntriesJsonOneObjectPerFile)
{
    QTemporaryDir dir;
    const QString strings = writeFile(
        dir.path(), "a.strings",
        "/* Note */\n\"k\" = \"say \\\"hi\\\"\";\n\"plain\" = \"tab\there\";\n");
    const QString txt = writeFile(dir.path(), "about.txt", "Two\nlines");
    const CliRun run = cli({"entries", "--json", strings, txt});
    ASSERT_EQ(run.status, 0) << run.err.constData();
    const QList<QByteArray> lines = run.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 2);

    // A missing comment is null in a .strings file and empty for a .txt file.
    EXPECT_EQ(object(lines[0]), object(R"({"file": ")" + strings.toUtf8() + R"(", "entries": [
                  {"key": "k", "value": "say \\\"hi\\\"", "comment": " Note "},
                  {"key": "plain", "value": "tab\there", "comment": null}]})"));
    EXPECT_EQ(object(lines[1]), object(R"({"file": ")" + txt.toUtf8() + R"(", "entries": [
                  {"key": "about.txt", "value": "Two\nlines", "comment": ""}]})"));

    const QString junk = writeFile(dir.path(), "junk.strings", QByteArray("\xc3\x28\xff", 3));
    // A file that turns out not to decode ends the listing with one error line.
    // Files after it are read ahead, but not printed.
    const CliRun bad = cli({"entries", "--json", strings, junk, txt});
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.err, "verbalo-cli: cannot read file: " + junk.toUtf8() + "\n");
    EXPECT_EQ(bad.out.trimmed().split('\n').size(), 1);
    EXPECT_EQ(object(bad.out.trimmed()), object(lines[0]));
    expectUsageError(cli({"entries", junk, strings}));
    expectUsageError(cli({"entries", dir.path() + "/missing.strings"}));
    expectUsageError(cli({"entries"}));
}

// Random texts, long enough to be written in several pieces, as .txt files
// whose value is the whole text: JSON readers get each back exactly.
TEST(Cli, EntriesJsonGivesBackEveryTextExactly)
{
    QTemporaryDir dir;
    const QStringList pieces = {u"plain ascii text "_s, u"\""_s, u"\\"_s, u"\n"_s, u"\t"_s, u"\r"_s,
                                u"\x01"_s,             u"\x1f"_s, u"\x7f"_s, u"/"_s,  u"\u00e9"_s, u"\u00df"_s,
                                u"\u2028"_s,           u"\u2029"_s, u"\u65e5\u672c"_s, u"\U0001F600"_s};
    QRandomGenerator random(7);
    QStringList texts;
    QStringList arguments = {u"entries"_s, u"--json"_s};
    for (int f = 0; f < 24; ++f) {
        QString text;
        // Some texts put a surrogate pair across the writer's 4,096-unit pieces.
        if (f % 4 == 0)
            text = QString(4095, u'a') + u"\U0001F600"_s;
        const int count = int(random.bounded(f % 3 == 0 ? 3000 : 40));
        for (int i = 0; i < count; ++i)
            text += pieces.at(random.bounded(int(pieces.size())));
        texts << text;
        arguments << writeFile(dir.path(), u"t%1.txt"_s.arg(f), text.toUtf8());
    }
    const CliRun run = cli(arguments);
    ASSERT_EQ(run.status, 0) << run.err.constData();
    const QList<QByteArray> lines = run.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), texts.size());
    for (qsizetype f = 0; f < texts.size(); ++f) {
        EXPECT_FALSE(lines[f].contains("\xe2\x80\xa8")) << "U+2028 must be escaped";
        EXPECT_EQ(object(lines[f])["entries"].toArray().at(0).toObject()["value"].toString(), texts.at(f)) << f;
    }
}

// Discovery's order and what it skips are the model's; here the JSON list.
TEST(Cli, DiscoverListsRoots)
{
    QTemporaryDir dir;
    writeFile(dir.path(), "Zeta/en.lproj/a.strings", "\n");
    writeFile(dir.path(), "Alpha/en.lproj/Main.strings", "\"k\" = \"v\";\n");
    const CliRun run = cli({"discover", "--json", dir.path()});
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(QJsonDocument::fromJson(run.out).array().toVariantList(),
              (QVariantList{dir.path() + "/Alpha", dir.path() + "/Zeta"}));
    expectUsageError(cli({"discover", dir.path() + "/gone"}));
}

TEST(Cli, RowsOfTheDemoProject)
{
    QTemporaryDir dir;
    const QString root = copyDemo(dir.path());
    const CliRun run = cli({"rows", "--json", root});
    ASSERT_EQ(run.status, 0) << run.err.constData();
    EXPECT_EQ(object(run.out).value("rows").toArray().first().toObject().keys(),
              (QStringList{"comment", "file", "key", "rowKey", "status", "value"}));

    // The options reach the model, whose order and filter are its concern:
    // sorted by status the finished rows come first, unless they are hidden.
    const auto firstStatus = [&](const QStringList &options) {
        const CliRun sorted = cli(QStringList{"rows", "--json", "--sort", "status", "--descending"}
                                  + options + QStringList{root});
        return object(sorted.out).value("rows").toArray().first().toObject().value("status");
    };
    EXPECT_TRUE(firstStatus({}).toString().startsWith("OK ("));
    EXPECT_TRUE(firstStatus({"--hide-translated"}).toString().startsWith("Missing: "));

    // Options may follow the folder; a value may be the last argument.
    EXPECT_EQ(cli({"rows", root, "--sort", "value"}).status, 0);
    expectUsageError(cli({"rows", root, "--sort"}));
    expectUsageError(cli({"rows", "--sort", "file", root}));
    expectUsageError(cli({"rows", "--bogus", root}));
    expectUsageError(cli({"rows", root + "/gone"}));
}

TEST(Cli, RewriteOfTheDemoChangesNothingAndHelpWorks)
{
    QTemporaryDir dir;
    const QString root = copyDemo(dir.path());
    const auto before = snapshot(root);
    const CliRun run = cli({"rewrite", root});
    ASSERT_EQ(run.status, 0) << run.err.constData();
    EXPECT_EQ(snapshot(root), before);

    const CliRun help = cli({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char *command : {"entries", "discover", "rows", "rewrite"})
        EXPECT_TRUE(help.out.contains(command)) << command;
    expectUsageError(cli({}));
    expectUsageError(cli({"frobnicate"}));
    expectUsageError(cli({"rewrite", "--base-language", ",", root}));
}

// The set command under the preserving layout, whose rules the editor's tests
// hold: one line of one file changes, and a preserving rewrite then nothing.
TEST(Cli, PreservingSetChangesOneLineAndARewriteNothing)
{
    QTemporaryDir dir;
    const QString root = copyDemo(dir.path());
    auto expected = snapshot(root);
    const CliRun set = cli({"set", "--layout", "preserve", root,
                            "button.cancel-Localizable.strings", "de", "Abbruch"});
    ASSERT_EQ(set.status, 0) << set.err.constData();
    EXPECT_EQ(set.out, "button.cancel-Localizable.strings de: \"Abbrechen\" -> \"Abbruch\"\n");
    expected["de.lproj/Localizable.strings"].replace("\"button.cancel\" = \"Abbrechen\";",
                                                     "\"button.cancel\" = \"Abbruch\";");
    EXPECT_EQ(snapshot(root), expected);
    // A plural row's text is its "other" form; the other categories stay.
    ASSERT_EQ(
        cli({"set", root, "notes.selected-Plurals.stringsdict", "de", "%d Notizen gewählt"}).status,
        0);
    expected["de.lproj/Plurals.stringsdict"].replace("%d Notizen ausgewählt", "%d Notizen gewählt");
    EXPECT_EQ(snapshot(root), expected);

    const CliRun rewrite =
        cli({"rewrite", "--layout", "preserve", "--collation-locale", "cs_CZ", root});
    ASSERT_EQ(rewrite.status, 0) << rewrite.err.constData();
    expectUsageError(cli({"set", root, "no.such-Localizable.strings", "de", "x"}));
    expectUsageError(cli({"set", root, "button.cancel-Localizable.strings", "xx", "x"}));
    expectUsageError(
        cli({"set", "--layout", "sideways", root, "button.cancel-Localizable.strings", "de", "x"}));
    EXPECT_EQ(snapshot(root), expected);
}

// Unreadable folders and files as an ordinary user sees them: root reads
// everything, so as root the tool runs as nobody.
TEST(Cli, FoldersAndFilesWithoutPermission)
{
    const bool asNobody = geteuid() == 0;
    if (asNobody && !canRunAsNobody())
        GTEST_SKIP() << "no setpriv to drop root";
    QTemporaryDir dir;
    const QString d = dir.path();
    const QByteArray locked = "\"k\" = \"locked\";\n";
    writeFile(d, "en.lproj/Main.strings", "\"k\" = \"v\";\n");
    writeFile(d, "en.lproj/Secret.strings", "\"s\" = \"hidden\";\n");
    writeFile(d, "de.lproj/Main.strings", locked);
    writeFile(d, "fr.lproj/Main.strings", "\"k\"=\"readonly\";");
    const auto open = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                      QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther |
                      QFileDevice::ExeOther;
    // Everything readable by others, the project writable by them too, but
    // de.lproj not even listable and Secret.strings not readable.
    QFile::setPermissions(d, open | QFileDevice::WriteOther);
    QFile::setPermissions(d + "/en.lproj", open | QFileDevice::WriteOther);
    QFile::setPermissions(d + "/en.lproj/Main.strings", open | QFileDevice::WriteOther);
    QFile::setPermissions(d + "/en.lproj/Secret.strings", QFileDevice::ReadOwner);
    QFile::setPermissions(d + "/de.lproj", QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QFile::setPermissions(d + "/fr.lproj", open);

    const auto run = [&](const QStringList &arguments) {
        return runCliProgram(arguments, asNobody);
    };
    const CliRun rows = run({"rows", "--json", d});
    ASSERT_EQ(rows.status, 0) << rows.err.constData();
    const QJsonObject table = object(rows.out);
    EXPECT_EQ(table.value("languages").toVariant().toStringList(), (QStringList{"de", "en", "fr"}));
    EXPECT_EQ(table.value("rows").toArray().size(), 1);
    for (const char *line : {"will not write into %1/de.lproj: the folder cannot be read\n",
                             "will not rewrite %1/en.lproj/Secret.strings: cannot be read\n"})
        EXPECT_TRUE(rows.err.contains(QString(line).arg(d).toUtf8())) << rows.err.constData();

    // Save writes nothing into what it could not read, and leaves it whole;
    // a file it cannot write fails the command, by name.
    const CliRun rewrite = run({"rewrite", d});
    EXPECT_EQ(rewrite.status, 2);
    EXPECT_TRUE(rewrite.err.endsWith("verbalo-cli: not written: " + d.toUtf8() +
                                     "/fr.lproj/Main.strings: could not be written\n"
                                     "verbalo-cli: 1 file(s) not written\n"))
        << rewrite.err.constData();
    EXPECT_EQ(readFile(d + "/fr.lproj/Main.strings"), "\"k\"=\"readonly\";");
    QFile::setPermissions(d + "/de.lproj", open);
    EXPECT_EQ(readFile(d + "/de.lproj/Main.strings"), locked);
    EXPECT_EQ(readFile(d + "/en.lproj/Main.strings"), QByteArray("\n/**/\n\"k\" = \"v\";\n\n"));

    const CliRun entries = run({"entries", d + "/en.lproj/Secret.strings"});
    EXPECT_EQ(entries.status, 2);
    EXPECT_TRUE(entries.err.startsWith("verbalo-cli: cannot read file"));
}

// What a rewrite keeps: translations without a base language, and anything
// that is not a regular file of the project; what it cannot write is named.
TEST(Cli, RewriteKeepsWhatItCannotOwn)
{
    QTemporaryDir dir;
    QTemporaryDir outside;
    const QString d = dir.path();
    writeFile(d, "de.lproj/Localizable.strings", "\"hello\" = \"Hallo\";\n");
    writeFile(d, "fr.lproj/Localizable.strings", "\"hello\" = \"Bonjour\";\n");
    ASSERT_EQ(mkfifo(QFile::encodeName(d + "/de.lproj/Pipe.strings").constData(), 0644), 0);
    ASSERT_TRUE(QFile::link("/dev/urandom", d + "/fr.lproj/Random.strings"));
    const QString shared = writeFile(outside.path(), "Shared.strings", "\"s\"=\"outside\";");
    ASSERT_TRUE(QFile::link(shared, d + "/fr.lproj/Shared.strings"));
    const QByteArray latin1Name = QFile::encodeName(d + "/fr.lproj/") + "Fran\xe7"
                                                                        "ais.strings";
    const int fd = ::open(latin1Name.constData(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, "\"b\"=\"c\";", 9), 9);
    ::close(fd);

    const CliRun rows = cli({"rows", "--json", d});
    ASSERT_EQ(rows.status, 0) << rows.err.constData();
    EXPECT_EQ(object(rows.out).value("rows").toArray().size(), 2);
    for (const char *line : {"/de.lproj/Pipe.strings: not a regular file",
                             "/fr.lproj/Random.strings: not a regular file",
                             "/fr.lproj/Shared.strings: a link to a file outside the project",
                             "/fr.lproj/Fran\xef\xbf\xbd"
                             "ais.strings: the name is not valid UTF-8"})
        EXPECT_TRUE(rows.err.contains("will not rewrite " + d.toUtf8() + line))
            << rows.err.constData();

    const CliRun rewrite = cli({"rewrite", d});
    ASSERT_EQ(rewrite.status, 0) << rewrite.err.constData();
    EXPECT_EQ(readFile(d + "/de.lproj/Localizable.strings"), "\n/**/\n\"hello\" = \"Hallo\";\n\n");
    EXPECT_EQ(readFile(shared), "\"s\"=\"outside\";");
    EXPECT_TRUE(QFileInfo(d + "/fr.lproj/Shared.strings").isSymLink());
    struct stat pipe;
    ASSERT_EQ(stat(QFile::encodeName(d + "/de.lproj/Pipe.strings").constData(), &pipe), 0);
    EXPECT_TRUE(S_ISFIFO(pipe.st_mode));
    ASSERT_EQ(stat(latin1Name.constData(), &pipe), 0);
    EXPECT_EQ(pipe.st_size, 9);
}

TEST(RunCli, OptionsOverrideTheSettingsForOneCommand)
{
    QTemporaryDir first;
    QTemporaryDir second;
    for (const QTemporaryDir *dir : {&first, &second}) {
        writeFile(dir->path(), "en.lproj/A.strings", "/* English */\n\"k\" = \"v\";\n");
        writeFile(dir->path(), "de.lproj/A.strings", "/* Deutsch */\n\"k\" = \"w\";\n");
    }
    Settings().remove(Settings::BaseLanguage);

    // With German as the base language its comment is written everywhere.
    EXPECT_EQ(runCli({"rewrite", "--base-language", "de", first.path()}), 0);
    EXPECT_EQ(readFile(first.path() + "/en.lproj/A.strings"),
              QByteArray("\n/* Deutsch */\n\"k\" = \"v\";\n\n"));
    // The next command is back to the setting's candidates.
    EXPECT_EQ(runCli({"rewrite", second.path()}), 0);
    EXPECT_EQ(readFile(second.path() + "/de.lproj/A.strings"),
              QByteArray("\n/* English */\n\"k\" = \"w\";\n\n"));

    // The save settings apply unless an option overrides them.
    QTemporaryDir dir;
    const QByteArray messy = "\"hrad\" = \"2\";\r\n\"chata\" = \"1\";\r\n";
    const QString file = writeFile(dir.path(), "en.lproj/A.strings", messy);
    Settings settings;
    settings.setValue(Settings::SavingLayout, QStringLiteral("preserve"));
    settings.setValue(Settings::SavingCollationLocale, QStringLiteral("cs_CZ"));
    EXPECT_EQ(runCli({"rewrite", dir.path()}), 0);
    EXPECT_EQ(readFile(file), messy);
    // The canonical layout sorts by the set locale: Czech puts "ch" after "h".
    EXPECT_EQ(runCli({"rewrite", "--layout", "canonical", dir.path()}), 0);
    EXPECT_EQ(readFile(file),
              QByteArray("\n/**/\n\"hrad\" = \"2\";\n\n/**/\n\"chata\" = \"1\";\n\n"));
    settings.remove(Settings::SavingLayout);
    settings.remove(Settings::SavingCollationLocale);
}
