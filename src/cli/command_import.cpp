// verbalo-cli import: takes one language's texts from files named after a
// language below a folder into a project, then saves the project.
#include "cli/cliargs.h"
#include "cli/commands.h"
#include "cli/memoryoption.h"
#include "memory/translationimport.h"
#include "model/projectmodel.h"

int commandImport(const QStringList &arguments)
{
    // --db is accepted like every memory command's; the import itself reads
    // files only and never touches the memory.
    const CliArgs args(arguments, {CliOptions::BaseLanguage, CliOptions::Layout, CliOptions::CollationLocale, CliOptions::Db});
    args.expectPositionals(2, 2, QStringLiteral("ROOT and FOLDER"));
    ProjectModel &model = commandModel();
    args.applyProjectOptions(model);
    const QString root = requireFolder(args.positionals().at(0));
    const QString folder = requireFolder(args.positionals().at(1));
    loadProject(model, root);
    // Every row can receive texts: the desktop's hide-translated view setting
    // has no say over a batch job.
    model.rebuildKeys(SortDescriptor{}, false);
    const ImportResult result = TranslationImport::importTranslations(model, folder);
    requireSaved(model);
    cliPrintLine(QStringLiteral("%1 texts stored").arg(result.stored));
    cliReportSkipped(result.skipped, folder);
    if (!result.unmatched.isEmpty()) {
        for (const auto &[file, language] : result.unmatched)
            cliPrintError(QStringLiteral("not imported: %1: the project has no language %2").arg(file, language));
        throw CliError{QStringLiteral("%1 file(s) name a language the project does not have")
                           .arg(result.unmatched.size())};
    }
    return 0;
}
