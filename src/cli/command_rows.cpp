// verbalo-cli rows: a project's table as the editor shows it, in display order.
#include "cli/cliargs.h"
#include "cli/commands.h"
#include "cli/utf8out.h"
#include "model/projectmodel.h"

#include <QHash>
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

// A shown row's data, file and base entry, looked up once.
struct ShownRow
{
    const Row *row = nullptr;
    const QString *file = nullptr;
    const Entry *base = nullptr;
};

std::vector<ShownRow> shownRows(const ProjectModel &model, const QStringList &candidates)
{
    std::vector<ShownRow> shown;
    shown.reserve(size_t(model.keys.size()));
    for (const QString &rowKey : model.keys) {
        const auto row = model.data.constFind(rowKey);
        const auto file = model.mapKeyToFile.constFind(rowKey);
        const Row *found = row == model.data.cend() ? nullptr : &*row;
        shown.push_back({found, file == model.mapKeyToFile.cend() ? nullptr : &*file,
                         found ? ProjectModel::baseEntryIn(*found, candidates) : nullptr});
    }
    return shown;
}

// The status texts of the shown rows: few distinct texts, each held once.
struct Statuses
{
    QStringList texts;
    std::vector<int> ofRow; // index into texts, per shown row

    Statuses(const std::vector<ShownRow> &shown, const QStringList &candidates, const QStringList &counted)
    {
        QHash<QString, int> index;
        ofRow.reserve(shown.size());
        for (const ShownRow &row : shown) {
            const QString text = ProjectModel::statusTextOf(row.row, counted, candidates);
            const auto known = index.constFind(text);
            if (known != index.cend()) {
                ofRow.push_back(*known);
                continue;
            }
            index.insert(text, int(texts.size()));
            ofRow.push_back(int(texts.size()));
            texts.append(text);
        }
    }
};

// The five cell texts of a shown row, as views into the model and statuses.
std::array<QStringView, 5> cellsAt(const ShownRow &shown, const QString &status)
{
    const Entry *base = shown.base;
    return {base ? QStringView(base->key) : QStringView(), base ? QStringView(base->value) : QStringView(),
            base && base->comment ? QStringView(*base->comment) : QStringView(), status,
            shown.file ? QStringView(*shown.file) : QStringView()};
}

void printTable(const ProjectModel &model, const QStringList &candidates)
{
    Utf8Out out;
    out.text(model.title()).character('\n');
    out.ascii("Languages: ").text(model.languages.join(QStringLiteral(", "))).ascii("\n\n");
    static const qsizetype maxWidth[] = {36, 40, 28, 36, 28};
    std::array<QString, 5> titles;
    for (const Column column : Columns::all)
        titles[size_t(Columns::section(column))] = Columns::identifier(column);
    // Two passes over the rows, the first for the column widths. The cells
    // are views into the model: copies of every cell text of a large project
    // would take more memory than the project.
    const std::vector<ShownRow> shown = shownRows(model, candidates);
    const Statuses statuses(shown, candidates, model.countedLanguages());
    std::array<qsizetype, 5> widths{};
    const auto measure = [&widths](const std::array<QStringView, 5> &row) {
        for (size_t c = 0; c < row.size(); ++c)
            widths[c] = std::min(maxWidth[c], std::max(widths[c], row[c].size()));
    };
    measure({titles[0], titles[1], titles[2], titles[3], titles[4]});
    for (size_t i = 0; i < shown.size(); ++i)
        measure(cellsAt(shown[i], statuses.texts.at(statuses.ofRow[i])));
    const auto print = [&out, &widths](const std::array<QStringView, 5> &row) {
        for (size_t c = 0; c < row.size(); ++c) {
            const bool last = c + 1 == row.size();
            out.column(row[c], widths[c], !last);
            if (!last)
                out.ascii("  ");
        }
        out.character('\n');
    };
    print({titles[0], titles[1], titles[2], titles[3], titles[4]});
    for (size_t i = 0; i < shown.size(); ++i)
        print(cellsAt(shown[i], statuses.texts.at(statuses.ofRow[i])));
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
    const std::vector<ShownRow> shown = shownRows(model, candidates);
    const Statuses statuses(shown, candidates, counted);
    for (qsizetype i = 0; i < model.keys.size(); ++i) {
        const std::array<QStringView, 5> cells =
            cellsAt(shown[size_t(i)], statuses.texts.at(statuses.ofRow[size_t(i)]));
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
