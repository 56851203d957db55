// verbalo-cli rewrite.
#include "cli/cliargs.h"
#include "cli/commands.h"

int commandRewrite(const QStringList &arguments)
{
    Q_UNUSED(arguments);
    throw CliError{QStringLiteral("rewrite is not available yet")};
}
