// verbalo-cli discover: the project roots below a folder, as opening it finds them.
#include "cli/cliargs.h"
#include "cli/commands.h"
#include "model/projectdiscovery.h"

int commandDiscover(const QStringList &arguments)
{
    const CliArgs args(arguments, {CliOptions::Json});
    args.expectPositionals(1, 1, QStringLiteral("FOLDER"));
    const QString folder = requireFolder(args.positionals().first());
    const QStringList roots = ProjectDiscovery::discover(folder);
    if (args.json()) {
        cliPrintLine(jsonStringArray(roots));
        return 0;
    }
    for (const QString &root : roots)
        cliPrintLine(root);
    return 0;
}
