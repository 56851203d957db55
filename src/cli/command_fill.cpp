// verbalo-cli fill: the rows' languages from the translation memory, then save.
#include "cli/cliargs.h"
#include "cli/cliselection.h"
#include "cli/commands.h"
#include "cli/memoryoption.h"
#include "memory/databasemanagerv2.h"
#include "translate/memoryfill.h"

#include <QFileInfo>
#include <memory>

int commandFill(const QStringList &arguments)
{
    const CliOption db{QStringLiteral("--db"), true};
    const CliOption rowKey{QStringLiteral("--row-key"), true};
    const CliArgs args(arguments, {db, CliOptions::BaseLanguage, CliOptions::Layout, CliOptions::CollationLocale, rowKey});
    args.expectPositionals(1, 1, QStringLiteral("ROOT"));
    ProjectModel &model = commandModel();
    args.applyProjectOptions(model);
    CliSelection::load(model, requireFolder(args.positionals().at(0)));
    const QList<int> selection = CliSelection::indexesOf(model, args.values(rowKey.name));

    std::unique_ptr<DatabaseManagerV2> own;
    DatabaseManagerV2 *memory = nullptr;
    if (const std::optional<QString> path = args.value(db.name)) {
        if (!QFileInfo(*path).isFile())
            throw CliError{QStringLiteral("no such translation memory: %1").arg(*path)};
        own = std::make_unique<DatabaseManagerV2>(*path);
        memory = own.get();
    } else {
        memory = &DatabaseManagerV2::shared();
    }
    requireUsable(*memory);
    const MemoryLookup lookup = [memory](const QString &column, const QString &text) {
        return memory->lookupText(column, text);
    };

    const CommandOutcome outcome = args.has(rowKey.name)
                                       ? MemoryFill::autoTranslateSelected(model, selection, lookup)
                                       : MemoryFill::autoTranslate(model, lookup);
    if (!outcome.message.isEmpty())
        cliPrintError(outcome.message);
    requireSaved(model);
    return 0;
}
