// verbalo-cli discover: the project roots below a folder, as opening it finds them.
#include "cli/cliargs.h"
#include "cli/commands.h"
#include "model/projectdiscovery.h"

int commandDiscover(const QStringList &arguments)
{
    const CliArgs args(arguments, {CliOptions::Json});
    args.expectPositionals(1, 1, QStringLiteral("FOLDER"));
    const QString folder = requireFolder(args.positionals().first());
    QList<SkippedPath> skipped;
    const QStringList roots = ProjectDiscovery::discover(folder, &skipped);
    if (args.json()) {
        cliPrintLine(jsonStringArray(roots));
    } else {
        for (const QString &root : roots)
            cliPrintLine(root);
    }
    cliReportSkipped(skipped, folder);
    return 0;
}
