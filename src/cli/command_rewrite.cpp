// verbalo-cli rewrite: loads a project and saves it, as every edit does.
#include "cli/cliargs.h"
#include "cli/commands.h"
#include "model/projectmodel.h"

int commandRewrite(const QStringList &arguments)
{
    const CliArgs args(arguments, {CliOptions::BaseLanguage, CliOptions::Layout, CliOptions::CollationLocale});
    args.expectPositionals(1, 1, QStringLiteral("ROOT"));
    ProjectModel &model = commandModel();
    args.applyProjectOptions(model);
    loadProject(model, requireFolder(args.positionals().first()));
    model.save();
    requireSaved(model);
    cliPrintLine(QStringLiteral("Saved %1: %2 languages, %3 rows")
                     .arg(model.projectURL)
                     .arg(model.languages.size())
                     .arg(model.data.size()));
    return 0;
}
