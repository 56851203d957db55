// verbalo-cli check: every translation of a project against its base text,
// one report line (or JSON object) per problem found.
#include "cli/cliargs.h"
#include "cli/commands.h"
#include "cli/utf8out.h"
#include "model/projectcheck.h"
#include "model/projectmodel.h"

#include <QMap>
#include <cstdio>

namespace {

// A held text on one line: real line breaks shown as the escapes a
// .strings file would hold, so every problem stays one line.
QString oneLine(const QString &text)
{
    QString shown;
    shown.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'\n':
            shown += QLatin1String("\\n");
            break;
        case u'\r':
            shown += QLatin1String("\\r");
            break;
        case 0x2028:
            shown += QLatin1String("\\U2028");
            break;
        case 0x2029:
            shown += QLatin1String("\\U2029");
            break;
        default:
            shown += c;
        }
    }
    return shown;
}

void printText(const QList<ProjectProblem> &problems)
{
    Utf8Out out;
    for (const ProjectProblem &p : problems) {
        out.text(p.rowKey).ascii("  [").text(p.language).ascii("]  ")
            .text(TranslationCheck::name(p.problem.kind)).ascii(": \"").text(oneLine(p.base))
            .ascii("\" -> \"").text(oneLine(p.text)).ascii("\"  (").text(p.problem.detail).ascii(")\n");
    }
}

void printJson(const QList<ProjectProblem> &problems)
{
    Utf8Out out;
    out.character('[');
    for (qsizetype i = 0; i < problems.size(); ++i) {
        const ProjectProblem &p = problems.at(i);
        out.asciiz(i ? ",\n{\"rowKey\": " : "\n{\"rowKey\": ").json(p.rowKey);
        out.ascii(", \"language\": ").json(p.language);
        out.ascii(", \"kind\": ").json(TranslationCheck::name(p.problem.kind));
        out.ascii(", \"base\": ").json(p.base);
        out.ascii(", \"text\": ").json(p.text);
        out.ascii(", \"detail\": ").json(p.problem.detail).character('}');
    }
    out.asciiz(problems.isEmpty() ? "]\n" : "\n]\n");
}

// "12 problems in 9 rows (10 format, 2 whitespace)", on standard error.
void printSummary(const QList<ProjectProblem> &problems)
{
    QMap<QString, int> perKind;
    QSet<QString> rows;
    for (const ProjectProblem &p : problems) {
        ++perKind[TranslationCheck::name(p.problem.kind)];
        rows.insert(p.rowKey);
    }
    QStringList kinds;
    for (auto it = perKind.cbegin(); it != perKind.cend(); ++it)
        kinds << QStringLiteral("%1 %2").arg(it.value()).arg(it.key());
    QString line = QStringLiteral("%1 problem%2 in %3 row%4")
                       .arg(problems.size())
                       .arg(problems.size() == 1 ? "" : "s")
                       .arg(rows.size())
                       .arg(rows.size() == 1 ? "" : "s");
    if (!kinds.isEmpty())
        line += QStringLiteral(" (%1)").arg(kinds.join(QStringLiteral(", ")));
    std::fprintf(stderr, "%s\n", line.toUtf8().constData());
}

} // namespace

int commandCheck(const QStringList &arguments)
{
    const CliArgs args(arguments, {CliOptions::Json, CliOptions::BaseLanguage, CliOptions::IgnoreMissing});
    args.expectPositionals(1, 1, QStringLiteral("ROOT"));
    ProjectModel &model = commandModel();
    args.applyProjectOptions(model);
    loadProject(model, requireFolder(args.positionals().first()));
    const QList<ProjectProblem> problems = ProjectCheck::check(model);
    if (args.json())
        printJson(problems);
    else
        printText(problems);
    std::fflush(stdout);
    printSummary(problems);
    return problems.isEmpty() ? 0 : 1;
}
