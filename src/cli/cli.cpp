// Command dispatch of verbalo-cli: the command table, help, and the one place
// where usage errors become a one-line message and exit status 2.
#include "cli.h"

#include "cli/cliargs.h"
#include "cli/commands.h"
#include "common/log.h"

#include <cstdio>
#include <cstring>

namespace {

struct CliCommand
{
    const char *name;
    const char *usage;   // arguments after the command name
    const char *summary; // one line for the overview
    int (*run)(const QStringList &arguments);
    const char *details = nullptr; // further lines for the command's --help
    // Reads a file at a time or asks the memory database, and holds no
    // project: it takes no restart for huge pages.
    bool streams = false;
};

// One line per command; keep the list in the order --help shows it.
const CliCommand kCommands[] = {
    {"entries", "[--json] FILE...", "print the entries the project reader gets from each file", commandEntries, nullptr, true},
    {"discover", "[--json] FOLDER", "list the project roots found below FOLDER", commandDiscover, nullptr, true},
    {"rows", "[--json] [--sort key|value|status] [--descending] [--hide-translated] [--base-language LIST] [--ignore-missing LIST] ROOT",
     "print the project's table as the editor shows it", commandRows},
    {"rewrite", "[--layout canonical|preserve] [--collation-locale LOCALE] [--base-language LIST] ROOT",
     "load the project and save it", commandRewrite},
    {"set", "[--layout canonical|preserve] [--collation-locale LOCALE] [--base-language LIST] ROOT ROWKEY LANGUAGE TEXT",
     "set one language's text of one row (TEXT escaped as in a .strings file), then save", commandSet,
     "  As an edit in the translations panel: the entry gets the base entry's key and comment;\n"
     "  a TEXT of only white space removes the language's entry. Prints the old and new text."},
    {"export", "[--base-language LIST] ROOT OUTFILE", "write the base texts of rows lacking a translation to OUTFILE", commandExport,
     "  A row of a .stringsdict or .xcstrings file exports its base `other` form (or plain\n"
     "  text) only: the other plural categories and device variations are not exported."},
    {"fill", "[--db PATH] [--layout canonical|preserve] [--collation-locale LOCALE] [--base-language LIST] [--row-key KEY]... ROOT", "fill rows from the translation memory, then save", commandFill},
    {"translate", "[--api-key-file FILE | --api-key KEY] [--layout canonical|preserve] [--collation-locale LOCALE] [--base-language LIST] [--row-key KEY]... ROOT", "machine-translate the rows' missing languages, then save", commandTranslate,
     "  The API key is the first of: the first line of --api-key-file FILE, --api-key KEY,\n"
     "  the environment variable VERBALO_GOOGLE_API_KEY, the \"google.api.key\" setting.\n"
     "  Prefer the file or the variable: --api-key shows the key to every user in the process list."},
    {"scan", "[--db PATH] FOLDER", "fill the translation memory from the language folders below FOLDER", commandScan},
    {"lookup", "[--json] [--column CODE] [--db PATH] TEXT", "print the translation memory's best record for TEXT", commandLookup, nullptr, true},
    {"check", "[--json] [--base-language LIST] [--ignore-missing LIST] ROOT", "report translations that break or garble their base text", commandCheck,
     "  Each language's text of each row is compared with the row's base text. Kinds:\n"
     "    format      the format specifiers (%@, %d, %1$@, %.2f, ...) do not read the same\n"
     "                arguments; positional ones may be reordered, not dropped or changed\n"
     "    linebreaks  the number of line breaks (real ones and \\n) differs\n"
     "    whitespace  one text starts or ends with white space and the other does not\n"
     "    plural      a .stringsdict or .xcstrings row: a language lacks a plural category its\n"
     "                rules need (ICU: Russian needs one, few, many, other), or a category's\n"
     "                specifiers differ from the base's\n"
     "  Text output: one line per problem: row key, [language], kind, base text -> text,\n"
     "  (explanation). --json: an array of {\"rowKey\", \"language\", \"kind\", \"base\",\n"
     "  \"text\", \"detail\"}. A summary line goes to standard error.\n"
     "  Languages of --ignore-missing (or of the \"status.ignoredLanguages\" setting) are not checked.\n"
     "  Exit status: 0 when nothing is found, 1 when problems are found, 2 for bad use."},
    {"import", "[--layout canonical|preserve] [--collation-locale LOCALE] [--base-language LIST] [--db PATH] ROOT FOLDER", "import language-named .strings files below FOLDER into ROOT and save", commandImport},
};

const CliCommand *findCommand(const QString &name)
{
    for (const CliCommand &c : kCommands)
        if (name == QLatin1String(c.name))
            return &c;
    return nullptr;
}

void printUsage(const CliCommand &c)
{
    cliPrintLine(QStringLiteral("usage: verbalo-cli %1 %2").arg(QLatin1String(c.name), QString::fromUtf8(c.usage)));
    cliPrintLine(QStringLiteral("  %1").arg(QString::fromUtf8(c.summary)));
    if (QByteArray(c.usage).contains("--base-language"))
        cliPrintLine(QStringLiteral("  --base-language LIST: comma-separated base-language candidates for this run."));
    if (QByteArray(c.usage).contains("--ignore-missing"))
        cliPrintLine(QStringLiteral("  --ignore-missing LIST: comma-separated languages that never count as missing\n"
                                    "  for this run (empty: none); without it, the \"status.ignoredLanguages\" setting."));
    if (QByteArray(c.usage).contains("--layout")) {
        cliPrintLine(QStringLiteral("  --layout canonical|preserve: canonical rewrites every file sorted, one comment and blank line"));
        cliPrintLine(QStringLiteral("    per entry, as UTF-8; preserve edits only the entries that changed and keeps every other byte,"));
        cliPrintLine(QStringLiteral("    the encoding and line ends. Default: the \"save.layout\" setting, else canonical."));
        cliPrintLine(QStringLiteral("  --collation-locale LOCALE: the locale whose collation sorts keys (\"en\", \"de_DE\"); default:"));
        cliPrintLine(QStringLiteral("    the \"save.collationLocale\" setting, else the current locale."));
    }
    if (c.details)
        cliPrintLine(QString::fromUtf8(c.details));
}

void printOverview()
{
    cliPrintLine(QStringLiteral("usage: verbalo-cli COMMAND [OPTIONS] ARGUMENTS"));
    cliPrintLine(QStringLiteral("       verbalo-cli COMMAND --help"));
    cliPrintLine(QString());
    cliPrintLine(QStringLiteral("Commands:"));
    for (const CliCommand &c : kCommands)
        cliPrintLine(QStringLiteral("  %1  %2").arg(QString::fromLatin1(c.name).leftJustified(10),
                                                    QString::fromUtf8(c.summary)));
    cliPrintLine(QString());
    cliPrintLine(QStringLiteral("Exit status: 0 on success, 2 for bad use or input; check: 1 when it finds problems."));
}

int fail(const QString &message)
{
    cliPrintError(message);
    return 2;
}

} // namespace

bool cliCommandHoldsProject(const char *name)
{
    for (const CliCommand &command : kCommands)
        if (std::strcmp(name, command.name) == 0)
            return !command.streams;
    return true;
}

int runCli(const QStringList &arguments)
{
    // Diagnostics go to standard error so they never mix with results.
    Log::setSink(Log::Sink::StandardError);
    if (arguments.isEmpty())
        return fail(QStringLiteral("no command given (try --help)"));
    const QString &name = arguments.first();
    if (name == QLatin1String("--help") || name == QLatin1String("-h") || name == QLatin1String("help")) {
        printOverview();
        return 0;
    }
    const CliCommand *command = findCommand(name);
    if (!command)
        return fail(QStringLiteral("unknown command %1 (try --help)").arg(name));
    const QStringList rest = arguments.mid(1);
    const qsizetype end = rest.indexOf(QStringLiteral("--"));
    const QStringList options = end < 0 ? rest : rest.mid(0, end);
    if (options.contains(QStringLiteral("--help")) || options.contains(QStringLiteral("-h"))) {
        printUsage(*command);
        return 0;
    }
    int status = 2;
    try {
        status = command->run(rest);
    } catch (const CliError &error) {
        status = fail(error.message);
    }
    std::fflush(stdout);
    return status;
}
