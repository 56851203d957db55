// verbalo-cli rows: a project's table as the editor shows it, in display order.
#include "cli/cliargs.h"
#include "cli/commands.h"
#include "cli/utf8out.h"
#include "model/projectmodel.h"

#include <algorithm>
#include <array>
#include <vector>

namespace {

const CliOption kSort{QStringLiteral("--sort"), true};
const CliOption kDescending{QStringLiteral("--descending"), false};
const CliOption kHideTranslated{QStringLiteral("--hide-translated"), false};

SortDescriptor sortFrom(const CliArgs &args)
{
    SortDescriptor sort;
    const QString key = args.value(kSort.name).value_or(QStringLiteral("key"));
    if (key == QLatin1String("key"))
        sort.column = Column::Key;
    else if (key == QLatin1String("value"))
        sort.column = Column::Value;
    else if (key == QLatin1String("status"))
        sort.column = Column::Status;
    else
        throw CliError{QStringLiteral("--sort takes key, value or status, not %1").arg(key)};
    sort.ascending = !args.has(kDescending.name);
    return sort;
}

// A shown row's data and file, looked up once.
struct ShownRow
{
    const Row *row = nullptr;
    const QString *file = nullptr;
};

std::vector<ShownRow> shownRows(const ProjectModel &model)
{
    std::vector<ShownRow> shown;
    shown.reserve(size_t(model.keys.size()));
    for (const QString &rowKey : model.keys) {
        const auto row = model.data.constFind(rowKey);
        const auto file = model.mapKeyToFile.constFind(rowKey);
        shown.push_back({row == model.data.cend() ? nullptr : &*row,
                         file == model.mapKeyToFile.cend() ? nullptr : &*file});
    }
    return shown;
}

// The five cell texts of a shown row, its base entry found once.
std::array<QString, 5> cellsAt(const ShownRow &shown, const QStringList &candidates, const QStringList &counted)
{
    const Entry *base = shown.row ? ProjectModel::baseEntryIn(*shown.row, candidates) : nullptr;
    return {base ? base->key : QString(), base ? base->value : QString(),
            base ? base->comment.value_or(QString()) : QString(),
            ProjectModel::statusTextOf(shown.row, counted, candidates), shown.file ? *shown.file : QString()};
}

void printTable(const ProjectModel &model, const QStringList &candidates)
{
    const QStringList counted = model.countedLanguages();
    Utf8Out out;
    out.text(model.title()).character('\n');
    out.ascii("Languages: ").text(model.languages.join(QStringLiteral(", "))).ascii("\n\n");
    static const qsizetype maxWidth[] = {36, 40, 28, 36, 28};
    std::array<QString, 5> titles;
    for (const Column column : Columns::all)
        titles[size_t(Columns::section(column))] = Columns::identifier(column);
    // Two passes over the rows, the first for the column widths: holding every
    // cell text of a large project would take more memory than the project.
    const std::vector<ShownRow> shown = shownRows(model);
    std::array<qsizetype, 5> widths{};
    const auto measure = [&widths](const std::array<QString, 5> &row) {
        for (size_t c = 0; c < row.size(); ++c)
            widths[c] = std::min(maxWidth[c], std::max(widths[c], row[c].size()));
    };
    measure(titles);
    for (const ShownRow &row : shown)
        measure(cellsAt(row, candidates, counted));
    const auto print = [&out, &widths](const std::array<QString, 5> &row) {
        for (size_t c = 0; c < row.size(); ++c) {
            const bool last = c + 1 == row.size();
            out.column(row[c], widths[c], !last);
            if (!last)
                out.ascii("  ");
        }
        out.character('\n');
    };
    print(titles);
    for (const ShownRow &row : shown)
        print(cellsAt(row, candidates, counted));
}

void printJson(const ProjectModel &model, const QStringList &candidates)
{
    const QStringList counted = model.countedLanguages();
    Utf8Out out;
    out.ascii("{\"title\": ").json(model.title()).ascii(", \"languages\": [");
    for (qsizetype i = 0; i < model.languages.size(); ++i)
        (i ? out.ascii(", ") : out).json(model.languages.at(i));
    out.ascii("], \"rows\": [");
    static const char *const names[] = {"key", "value", "comment", "status", "file"};
    const std::vector<ShownRow> shown = shownRows(model);
    for (qsizetype i = 0; i < model.keys.size(); ++i) {
        const std::array<QString, 5> cells = cellsAt(shown[size_t(i)], candidates, counted);
        out.asciiz(i ? ",\n{\"rowKey\": " : "\n{\"rowKey\": ").json(model.keys.at(i));
        for (size_t c = 0; c < 5; ++c)
            out.ascii(", \"").asciiz(names[c]).ascii("\": ").json(cells[c]);
        out.character('}');
    }
    out.ascii("\n]}\n");
}

} // namespace

int commandRows(const QStringList &arguments)
{
    const CliArgs args(arguments, {CliOptions::Json, kSort, kDescending, kHideTranslated, CliOptions::BaseLanguage,
                                      CliOptions::IgnoreMissing});
    args.expectPositionals(1, 1, QStringLiteral("ROOT"));
    const SortDescriptor sort = sortFrom(args);
    ProjectModel &model = commandModel();
    args.applyProjectOptions(model);
    loadProject(model, requireFolder(args.positionals().first()));
    const QStringList candidates = model.candidates();
    model.rebuildKeys(sort, args.has(kHideTranslated.name), candidates);
    if (args.json())
        printJson(model, candidates);
    else
        printTable(model, candidates);
    return 0;
}
