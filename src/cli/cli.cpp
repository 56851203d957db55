// Command dispatch of verbalo-cli.
#include "cli.h"

#include <cstdio>

int runCli(const QStringList &arguments)
{
    Q_UNUSED(arguments);
    std::fputs("verbalo-cli: no commands yet\n", stderr);
    return 2;
}
