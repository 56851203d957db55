// verbalo-cli rows: a project's table as the editor shows it, in display order.
#include "cli/cliargs.h"
#include "cli/commands.h"
#include "model/projectmodel.h"

#include <algorithm>

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

// One line per cell: line breaks of .txt texts are shown as a return symbol.
QString oneLine(QString text, qsizetype width)
{
    text.replace(QLatin1Char('\n'), QChar(0x23CE));
    text.replace(QLatin1Char('\r'), QChar(0x23CE));
    if (text.size() > width)
        text = text.left(width - 1) + QChar(0x2026);
    return text;
}

void printTable(const ProjectModel &model, const QStringList &candidates)
{
    cliPrintLine(model.title());
    cliPrintLine(QStringLiteral("Languages: ") + model.languages.join(QStringLiteral(", ")));
    cliPrintLine(QString());
    static const qsizetype maxWidth[] = {36, 40, 28, 36, 28};
    QList<QStringList> cells;
    QStringList titles;
    for (const Column column : Columns::all)
        titles << Columns::identifier(column);
    cells.append(titles);
    for (int i = 0; i < model.keys.size(); ++i) {
        QStringList row;
        for (const Column column : Columns::all)
            row << model.cellText(i, column, candidates);
        cells.append(row);
    }
    QList<qsizetype> widths(titles.size(), 0);
    for (const QStringList &row : std::as_const(cells))
        for (qsizetype c = 0; c < row.size(); ++c)
            widths[c] = std::min(maxWidth[c], std::max(widths[c], oneLine(row.at(c), maxWidth[c]).size()));
    for (const QStringList &row : std::as_const(cells)) {
        QString line;
        for (qsizetype c = 0; c < row.size(); ++c) {
            const QString text = oneLine(row.at(c), widths[c]);
            line += c + 1 < row.size() ? text.leftJustified(widths[c]) + QStringLiteral("  ") : text;
        }
        cliPrintLine(line);
    }
}

void printJson(const ProjectModel &model, const QStringList &candidates)
{
    cliPrint(QStringLiteral("{\"title\": ") + jsonString(model.title()) + QStringLiteral(", \"languages\": ")
             + jsonStringArray(model.languages) + QStringLiteral(", \"rows\": ["));
    for (int i = 0; i < model.keys.size(); ++i) {
        QString line = i ? QStringLiteral(",\n") : QStringLiteral("\n");
        line += QStringLiteral("{\"rowKey\": ") + jsonString(model.keys.at(i));
        line += QStringLiteral(", \"key\": ") + jsonString(model.cellText(i, Column::Key, candidates));
        line += QStringLiteral(", \"value\": ") + jsonString(model.cellText(i, Column::Value, candidates));
        line += QStringLiteral(", \"comment\": ") + jsonString(model.cellText(i, Column::Comment, candidates));
        line += QStringLiteral(", \"status\": ") + jsonString(model.cellText(i, Column::Status, candidates));
        line += QStringLiteral(", \"file\": ") + jsonString(model.cellText(i, Column::File, candidates));
        line += QLatin1Char('}');
        cliPrint(line);
    }
    cliPrintLine(QStringLiteral("\n]}"));
}

} // namespace

int commandRows(const QStringList &arguments)
{
    const CliArgs args(arguments, {CliOptions::Json, kSort, kDescending, kHideTranslated, CliOptions::BaseLanguage});
    args.expectPositionals(1, 1, QStringLiteral("ROOT"));
    const SortDescriptor sort = sortFrom(args);
    ProjectModel model;
    args.applyBaseLanguage(model);
    loadProject(model, requireFolder(args.positionals().first()));
    const QStringList candidates = model.candidates();
    model.rebuildKeys(sort, args.has(kHideTranslated.name), candidates);
    if (args.json())
        printJson(model, candidates);
    else
        printTable(model, candidates);
    return 0;
}
