// verbalo-cli entry point: a Qt Core application around runCli().
#include "cli/cli.h"

#include <QCoreApplication>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("verbalo-cli"));
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    return runCli(args);
}
