// verbalo-cli entries: what the project reader gets from each file given.
#include "cli/cliargs.h"
#include "cli/commands.h"
#include "cli/utf8out.h"
#include "model/stringscontent.h"
#include "model/textfile.h"
#include "model/variantfiles.h"

#include <QFileInfo>

namespace {

struct FileEntries
{
    QString path;
    QList<Entry> entries;
    QStringList languages; // per entry, for a catalog; empty otherwise
};

// A .txt file is one entry (its name, its whole text, an empty comment), as
// the loader sees it; any other file is read as .strings text.
FileEntries readEntries(const QString &path)
{
    if (VariantFiles::isVariantFile(path)) {
        // Plural and catalog files: every text, variants included, as the
        // project reader gets them.
        VariantFiles files;
        FileEntries result{path, {}, {}};
        QString error;
        bool read = false;
        if (VariantFiles::isStringsDict(path)) {
            read = files.loadStringsDict(path, QString(), QFileInfo(path).fileName(), &result.entries, &error);
        } else {
            QStringList languages;
            QList<std::pair<QString, Entry>> keyed;
            read = files.loadCatalog(path, QFileInfo(path).fileName(), &languages, &keyed, &error);
            for (auto &[language, entry] : keyed) {
                result.languages << language;
                result.entries << std::move(entry);
            }
        }
        if (!read)
            throw CliError{QStringLiteral("cannot read file: %1: %2").arg(path, error)};
        return result;
    }
    const std::optional<QString> text = TextFile::read(path);
    if (!text)
        throw CliError{QStringLiteral("cannot read file: %1").arg(path)};
    if (path.endsWith(QLatin1String(".txt")))
        return {path, {Entry{QFileInfo(path).fileName(), *text, QString(QLatin1String(""))}}, {}};
    return {path, StringsContent::read(*text).entries, {}};
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
                if (!file.languages.isEmpty())
                    out.ascii(", \"language\": ").json(file.languages.at(i));
                if (!e.variants.isEmpty()) {
                    out.ascii(", \"variants\": [");
                    for (qsizetype v = 0; v < e.variants.size(); ++v) {
                        const EntryVariant &variant = e.variants.at(v);
                        out.asciiz(v ? ", {\"path\": " : "{\"path\": ").json(variant.path);
                        out.ascii(", \"value\": ").json(variant.value).ascii(", \"state\": ").json(variant.state);
                        out.character('}');
                    }
                    out.character(']');
                }
                out.character('}');
            }
            out.ascii("]}\n");
            continue;
        }
        out.text(file.path).ascii(": ").text(QString::number(file.entries.size())).ascii(" entries\n");
        for (qsizetype i = 0; i < file.entries.size(); ++i) {
            const Entry &e = file.entries.at(i);
            if (e.comment)
                out.ascii("  /*").text(*e.comment).ascii("*/\n");
            out.ascii("  ");
            if (!file.languages.isEmpty())
                out.text(file.languages.at(i)).ascii(": ");
            out.ascii("\"").text(e.key).ascii("\" = \"").text(e.value).ascii("\";\n");
            for (const EntryVariant &variant : e.variants) {
                out.ascii("    [").text(variant.path).ascii("] \"").text(variant.value).ascii("\"");
                if (!variant.state.isEmpty())
                    out.ascii(" (").text(variant.state).character(')');
                out.character('\n');
            }
        }
    }
    return 0;
}
