// verbalo-cli entry point: a Qt Core application around runCli().
#include "cli/cli.h"
#include "common/hugepages.h"

#include <QCoreApplication>

int main(int argc, char **argv)
{
    if (argc < 2 || cliCommandHoldsProject(argv[1]))
        HugePages::restartWithHugePages(argv);
    HugePages::tuneAllocator();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("verbalo-cli"));
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    return runCli(args);
}
