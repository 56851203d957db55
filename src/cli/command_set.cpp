// verbalo-cli set: one language's text of one row, set as an edit in the
// translations panel sets it, then saved.
#include "cli/cliargs.h"
#include "cli/commands.h"
#include "memory/translationspanel.h"
#include "model/projectmodel.h"

namespace {

QString shown(const std::optional<Entry> &entry)
{
    return entry ? jsonString(entry->value) : QStringLiteral("(none)");
}

} // namespace

int commandSet(const QStringList &arguments)
{
    const CliArgs args(arguments, {CliOptions::BaseLanguage, CliOptions::Layout, CliOptions::CollationLocale});
    args.expectPositionals(4, 4, QStringLiteral("PROJECT ROWKEY LANGUAGE TEXT"));
    const QString &rowKey = args.positionals().at(1);
    const QString &language = args.positionals().at(2);
    const QString &text = args.positionals().at(3);
    ProjectModel &model = commandModel();
    args.applyProjectOptions(model);
    loadProject(model, requireFolder(args.positionals().first()));
    const auto row = model.data.constFind(rowKey);
    if (row == model.data.cend())
        throw CliError{QStringLiteral("no row %1 in %2").arg(rowKey, model.projectURL)};
    if (!model.languages.contains(language))
        throw CliError{QStringLiteral("no language %1 in %2 (it has %3)")
                           .arg(language, model.projectURL, model.languages.join(QStringLiteral(", ")))};
    const auto entryOf = [&model, &rowKey, &language]() -> std::optional<Entry> {
        const Row current = model.data.value(rowKey);
        const auto it = current.constFind(language);
        return it == current.cend() ? std::nullopt : std::optional<Entry>(*it);
    };
    const std::optional<Entry> before = entryOf();
    if (!TranslationsPanel::storeTranslation(model, rowKey, language, text))
        throw CliError{QStringLiteral("row %1 has no base entry to set a translation from").arg(rowKey)};
    requireSaved(model);
    const std::optional<Entry> after = entryOf();
    if (before == after)
        cliPrintLine(QStringLiteral("%1 %2: unchanged %3").arg(rowKey, language, shown(after)));
    else
        cliPrintLine(QStringLiteral("%1 %2: %3 -> %4").arg(rowKey, language, shown(before), shown(after)));
    return 0;
}
