// verbalo-cli scan: fills the translation memory from the language folders
// below a folder and reports how much it stored.
#include "cli/cliargs.h"
#include "cli/commands.h"
#include "cli/memoryoption.h"
#include "memory/databasemanagerv2.h"

int commandScan(const QStringList &arguments)
{
    const CliArgs args(arguments, {CliOptions::Db});
    args.expectPositionals(1, 1, QStringLiteral("FOLDER"));
    const QString folder = requireFolder(args.positionals().first());
    DatabaseManagerV2 &memory = openMemory(args);
    const ScanResult result = memory.scan(folder).result();
    cliPrintLine(QStringLiteral("%1 groups, %2 keys stored").arg(result.groups).arg(result.keysStored));
    cliReportSkipped(result.skipped, folder);
    if (!result.failure.isEmpty())
        throw CliError{QStringLiteral("the scan stopped early: ") + result.failure};
    return 0;
}
