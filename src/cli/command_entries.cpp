// verbalo-cli entries: what the project reader gets from each file given.
#include "cli/cliargs.h"
#include "cli/commands.h"
#include "model/stringsreader.h"
#include "model/textfile.h"

#include <QFileInfo>

namespace {

struct FileEntries
{
    QString path;
    QList<Entry> entries;
};

// A .txt file is one entry (its name, its whole text, an empty comment), as
// the loader sees it; any other file is read as .strings text.
FileEntries readEntries(const QString &path)
{
    if (QFileInfo(path).isDir())
        throw CliError{QStringLiteral("not a file: %1").arg(path)};
    const std::optional<QString> text = TextFile::read(path);
    if (!text)
        throw CliError{QStringLiteral("cannot read file: %1").arg(path)};
    if (path.endsWith(QLatin1String(".txt")))
        return {path, {Entry{QFileInfo(path).fileName(), *text, QString(QLatin1String(""))}}};
    return {path, StringsReader::parse(*text)};
}

} // namespace

int commandEntries(const QStringList &arguments)
{
    const CliArgs args(arguments, {CliOptions::Json});
    args.expectPositionals(1, -1, QStringLiteral("FILE"));
    // Every file is read before anything is printed, so a bad file gives one
    // error line and no partial output.
    QList<FileEntries> files;
    for (const QString &path : args.positionals())
        files.append(readEntries(path));

    for (const FileEntries &file : std::as_const(files)) {
        if (args.json()) {
            QString line = QStringLiteral("{\"file\": ") + jsonString(file.path) + QStringLiteral(", \"entries\": [");
            for (qsizetype i = 0; i < file.entries.size(); ++i) {
                const Entry &e = file.entries.at(i);
                if (i)
                    line += QStringLiteral(", ");
                line += QStringLiteral("{\"key\": ") + jsonString(e.key) + QStringLiteral(", \"value\": ")
                        + jsonString(e.value) + QStringLiteral(", \"comment\": ") + jsonStringOrNull(e.comment)
                        + QLatin1Char('}');
            }
            line += QStringLiteral("]}");
            cliPrintLine(line);
            continue;
        }
        cliPrintLine(QStringLiteral("%1: %2 entries").arg(file.path).arg(file.entries.size()));
        for (const Entry &e : file.entries) {
            if (e.comment)
                cliPrintLine(QStringLiteral("  /*%1*/").arg(*e.comment));
            cliPrintLine(QStringLiteral("  \"%1\" = \"%2\";").arg(e.key, e.value));
        }
    }
    return 0;
}
