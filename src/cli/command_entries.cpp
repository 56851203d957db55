// verbalo-cli entries: what the project reader gets from each file given.
#include "cli/cliargs.h"
#include "cli/commands.h"
#include "cli/utf8out.h"
#include "model/stringscontent.h"
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
    const std::optional<QString> text = TextFile::read(path);
    if (!text)
        throw CliError{QStringLiteral("cannot read file: %1").arg(path)};
    if (path.endsWith(QLatin1String(".txt")))
        return {path, {Entry{QFileInfo(path).fileName(), *text, QString(QLatin1String(""))}}};
    return {path, StringsContent::read(*text).entries};
}

} // namespace

int commandEntries(const QStringList &arguments)
{
    const CliArgs args(arguments, {CliOptions::Json});
    args.expectPositionals(1, -1, QStringLiteral("FILE"));
    // What can be told without reading is checked first, so a missing or
    // unreadable file gives one error line and no output; the files are then
    // read and printed one at a time, so that a large set streams.
    for (const QString &path : args.positionals()) {
        const QFileInfo info(path);
        if (info.isDir())
            throw CliError{QStringLiteral("not a file: %1").arg(path)};
        if (!info.isFile() || !info.isReadable())
            throw CliError{QStringLiteral("cannot read file: %1").arg(path)};
    }
    Utf8Out out;
    for (const QString &path : args.positionals()) {
        const FileEntries file = readEntries(path);
        if (args.json()) {
            out.ascii("{\"file\": ").json(file.path).ascii(", \"entries\": [");
            for (qsizetype i = 0; i < file.entries.size(); ++i) {
                const Entry &e = file.entries.at(i);
                out.asciiz(i ? ", {\"key\": " : "{\"key\": ").json(e.key).ascii(", \"value\": ").json(e.value);
                out.ascii(", \"comment\": ");
                if (e.comment)
                    out.json(*e.comment);
                else
                    out.ascii("null");
                out.character('}');
            }
            out.ascii("]}\n");
            continue;
        }
        out.text(file.path).ascii(": ").text(QString::number(file.entries.size())).ascii(" entries\n");
        for (const Entry &e : file.entries) {
            if (e.comment)
                out.ascii("  /*").text(*e.comment).ascii("*/\n");
            out.ascii("  \"").text(e.key).ascii("\" = \"").text(e.value).ascii("\";\n");
        }
    }
    return 0;
}
