// verbalo-cli export: the base texts of every row that lacks a translation,
// written to one .strings file.
#include "cli/cliargs.h"
#include "cli/cliselection.h"
#include "cli/commands.h"
#include "editor/exporttranslation.h"

int commandExport(const QStringList &arguments)
{
    const CliArgs args(arguments, {CliOptions::BaseLanguage});
    args.expectPositionals(2, 2, QStringLiteral("ROOT and OUTFILE"));
    ProjectModel &model = commandModel();
    args.applyProjectOptions(model);
    CliSelection::load(model, requireFolder(args.positionals().at(0)));
    const QString out = args.positionals().at(1);
    QString error;
    if (!ExportTranslation::exportTranslation(model, out, &error))
        throw CliError{error};
    return 0;
}
