// verbalo-cli entry point: a Qt Core application around runCli().
#include "cli/cli.h"
#include "common/hugepages.h"

#include <QCoreApplication>

int main(int argc, char **argv)
{
    HugePages::restartWithHugePages(argv);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("verbalo-cli"));
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    return runCli(args);
}
