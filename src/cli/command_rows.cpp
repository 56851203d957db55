// verbalo-cli rows.
#include "cli/cliargs.h"
#include "cli/commands.h"

int commandRows(const QStringList &arguments)
{
    Q_UNUSED(arguments);
    throw CliError{QStringLiteral("rows is not available yet")};
}
