// verbalo-cli entries.
#include "cli/cliargs.h"
#include "cli/commands.h"

int commandEntries(const QStringList &arguments)
{
    Q_UNUSED(arguments);
    throw CliError{QStringLiteral("entries is not available yet")};
}
