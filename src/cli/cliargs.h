// Shared parsing and output helpers of the verbalo-cli commands: options,
// positional arguments, one-line usage errors, and UTF-8 / JSON output.
#pragma once

#include "model/filefinder.h"

#include <QString>
#include <QStringList>
#include <initializer_list>
#include <optional>

class ProjectModel;

// Bad use or bad input. runCli() prints "verbalo-cli: <message>" on standard
// error and exits with status 2. Commands throw it wherever they find the fault.
struct CliError
{
    QString message;
};

// One option a command accepts. Flags take no value; options take the next
// argument ("--sort key") or an attached one ("--sort=key").
struct CliOption
{
    QString name;
    bool takesValue = false;
};

// The common options, ready to list in a command's option set.
namespace CliOptions {
inline const CliOption Json{QStringLiteral("--json"), false};
inline const CliOption BaseLanguage{QStringLiteral("--base-language"), true};
inline const CliOption IgnoreMissing{QStringLiteral("--ignore-missing"), true};
inline const CliOption Layout{QStringLiteral("--layout"), true};
inline const CliOption CollationLocale{QStringLiteral("--collation-locale"), true};
} // namespace CliOptions

// The parsed arguments of one command. Throws CliError for an unknown option
// or an option without its value. "--" ends the options.
class CliArgs
{
public:
    CliArgs(const QStringList &arguments, std::initializer_list<CliOption> options);

    bool has(const QString &option) const;
    // The last value given for the option, if any.
    std::optional<QString> value(const QString &option) const;
    // Every value given for a repeatable option, in order.
    QStringList values(const QString &option) const;
    bool json() const { return has(CliOptions::Json.name); }

    const QStringList &positionals() const { return m_positionals; }
    // Throws unless the number of positionals lies in [min, max] (max < 0: no limit).
    void expectPositionals(int min, int max, const QString &what) const;

    // Gives the model everything the app gives it from the settings: the
    // base languages, the ignored languages and the save options, each from
    // its option when the command has it and was given it, else from the
    // settings. Every command that loads a project calls this first.
    void applyProjectOptions(ProjectModel &model) const;

private:
    // Gives the model --base-language LIST (comma-separated) as its
    // base-language candidates; without the option, those of the settings.
    void applyBaseLanguage(ProjectModel &model) const;
    // Gives the model --ignore-missing LIST (comma-separated; may be empty,
    // to ignore none) as its ignored languages; without the option, those of
    // the "status.ignoredLanguages" setting.
    void applyIgnoredLanguages(ProjectModel &model) const;
    // Gives the model the save settings, with --layout canonical|preserve and
    // --collation-locale LOCALE in place of the stored ones.
    void applySaveOptions(ProjectModel &model) const;

    QList<std::pair<QString, QString>> m_options;
    QStringList m_positionals;
};

// An existing, listable folder's absolute path, else CliError
// ("no such folder: ..." or "cannot read folder: ...").
QString requireFolder(const QString &path);

// A new, empty model for a command's project, never destroyed: the process
// ends soon after its command, and freeing a large project's entries one by
// one takes longer than printing them. It stays reachable, so leak checkers
// do not count it.
ProjectModel &commandModel();

// Loads the project at root (projectURL set) and prints one line on standard
// error for each file that saves will leave unwritten, saying why.
void loadProject(ProjectModel &model, const QString &root);
// After a command's saves: prints one line on standard error for each file
// the last save could not write, then throws CliError saying how many.
void requireSaved(const ProjectModel &model);
// After a listing that left paths out (each already logged on standard error
// with its reason), one line there saying how many, below which folder.
void cliReportSkipped(const QList<SkippedPath> &skipped, const QString &folder);

// One diagnostic line on standard error: "verbalo-cli: " and the text.
void cliPrintError(const QString &line);

// Standard output as UTF-8; cliPrintLine adds a line feed.
void cliPrint(const QString &text);
void cliPrintLine(const QString &text);

// JSON texts for hand-built lines whose member order is part of the output.
QString jsonString(QStringView text);
QString jsonStringOrNull(const std::optional<QString> &text);
QString jsonStringArray(const QStringList &texts);
