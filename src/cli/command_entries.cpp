// verbalo-cli entries: what the project reader gets from each file given.
#include "cli/cliargs.h"
#include "cli/commands.h"
#include "cli/utf8out.h"
#include "model/orderedwork.h"
#include "model/projectfiles.h"
#include "model/stringscontent.h"
#include "model/textfile.h"
#include "model/variantfiles.h"

#include <QFileInfo>
#include <optional>
#include <vector>

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
    const QStringList &paths = args.positionals();
    std::vector<qint64> sizes;
    for (const QString &path : paths) {
        const QFileInfo info(path);
        if (info.isDir())
            throw CliError{QStringLiteral("not a file: %1").arg(path)};
        if (!info.isFile() || !info.isReadable())
            throw CliError{QStringLiteral("cannot read file: %1").arg(path)};
        sizes.push_back(info.size());
    }
    // Files are read and parsed on another thread, a few ahead of this one,
    // which prints them in order; a file that cannot be read stops the
    // output where it stands, as when read here.
    std::vector<std::optional<FileEntries>> read(size_t(paths.size()));
    std::vector<QString> errors(size_t(paths.size()));
    OrderedWork reading(
        paths.size(), 8, paths.size() > 1 ? ProjectFiles::workPool() : nullptr, 1,
        [&](qsizetype i) {
            try {
                read[size_t(i)] = readEntries(paths.at(i));
            } catch (const CliError &error) {
                errors[size_t(i)] = error.message;
            }
        },
        std::move(sizes), 32 * 1024 * 1024);
    Utf8Out out;
    for (qsizetype f = 0; f < paths.size(); ++f) {
        reading.take(f);
        if (!read[size_t(f)])
            throw CliError{errors[size_t(f)]};
        const FileEntries file = *std::exchange(read[size_t(f)], std::nullopt);
        reading.release();
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
