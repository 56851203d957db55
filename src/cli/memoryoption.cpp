// Opening the translation memory for a verbalo-cli command.
#include "memoryoption.h"

#include "memory/databasemanagerv2.h"

#include <QFileInfo>

DatabaseManagerV2 &openMemory(const CliArgs &args)
{
    if (const auto path = args.value(CliOptions::Db.name)) {
        if (path->isEmpty())
            throw CliError{QStringLiteral("--db needs a file path")};
        DatabaseManagerV2::setDefaultPath(QFileInfo(*path).absoluteFilePath());
    }
    DatabaseManagerV2 &memory = DatabaseManagerV2::shared();
    requireUsable(memory);
    return memory;
}

void requireUsable(const DatabaseManagerV2 &memory)
{
    if (!memory.isOpen())
        throw CliError{QStringLiteral("the translation memory %1 is unusable: %2")
                           .arg(memory.databasePath(), memory.closedReason())};
}
