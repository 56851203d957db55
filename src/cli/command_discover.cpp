// verbalo-cli discover.
#include "cli/cliargs.h"
#include "cli/commands.h"

int commandDiscover(const QStringList &arguments)
{
    Q_UNUSED(arguments);
    throw CliError{QStringLiteral("discover is not available yet")};
}
