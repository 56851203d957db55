// verbalo-cli lookup: the translation memory's best record for a text.
#include "cli/cliargs.h"
#include "cli/commands.h"
#include "cli/memoryoption.h"
#include "memory/databasemanagerv2.h"
#include "common/languages.h"

int commandLookup(const QStringList &arguments)
{
    static const CliOption column{QStringLiteral("--column"), true};
    const CliArgs args(arguments, {CliOptions::Json, CliOptions::Db, column});
    args.expectPositionals(1, 1, QStringLiteral("TEXT"));
    const QString code = args.value(column.name).value_or(QStringLiteral("en_US"));
    if (!Languages::isKnownCode(code))
        throw CliError{QStringLiteral("unknown column %1 (use one of the language codes, such as en_US)")
                           .arg(code)};
    DatabaseManagerV2 &memory = openMemory(args);
    const auto record = memory.lookupText(code, args.positionals().first());

    if (args.json()) {
        if (!record) {
            cliPrintLine(QStringLiteral("null"));
            return 0;
        }
        QStringList members;
        for (auto it = record->cbegin(); it != record->cend(); ++it)
            members << jsonString(it.key()) + QStringLiteral(": ") + jsonString(it.value());
        cliPrintLine(QLatin1Char('{') + members.join(QStringLiteral(", ")) + QLatin1Char('}'));
        return 0;
    }
    if (!record)
        return 0;
    // One line per name; line breaks inside texts are shown as \n.
    for (auto it = record->cbegin(); it != record->cend(); ++it) {
        QString text = it.value();
        text.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
        text.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
        text.replace(QLatin1Char('\r'), QStringLiteral("\\r"));
        cliPrintLine(it.key() + QLatin1Char('\t') + text);
    }
    return 0;
}
