// The in-memory model of one project: every entry of every language, grouped
// into rows by row key, with loading, saving, status texts and the row order.
#pragma once

#include "model/column.h"
#include "model/keyfilemap.h"
#include "model/row.h"
#include "model/saveoptions.h"
#include "model/variantfiles.h"

#include <QHash>
#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

// How rows are ordered: by a column (Key, Value and Status order rows; the
// others leave them as they come).
struct SortDescriptor
{
    Column column = Column::Key;
    bool ascending = true;
};

// A file that load() found and that save() must never replace, with why.
struct KeptFile
{
    QString reason;   // one line, such as "its encoding is not recognised"
    QString language; // the language and file name whose entries it holds
    QString fileName;
    quint64 fingerprint = 0; // of those entries as loaded: a change means unsaved work
};

// A file's row keys, each with its row (null when data has none): pointers
// into the model, valid while it does not change. Pointers rather than copies
// of the keys spare a write to each key's shared storage, scattered in
// memory.
struct FileRows
{
    std::vector<const QString *> rowKeys;
    std::vector<const Row *> rows;
    qsizetype counted = 0; // while rowsPerFile() counts them
};

struct SaveFailure
{
    QString path;
    QString reason;
    friend bool operator==(const SaveFailure &, const SaveFailure &) = default;
};

// What a save could not do. Files kept from writing are listed only when
// their entries changed since the load, since only then is work lost.
struct SaveReport
{
    QList<SaveFailure> notWritten;
    bool ok() const { return notWritten.isEmpty(); }
};

// The fields carry the names used throughout the program's documentation of
// the model; every editing command works on them directly.
class ProjectModel
{
public:

    // Row key to the file name (with extension) that the row came from.
    KeyFileMap mapKeyToFile;
    // The project root; set before load() and save().
    QString projectURL;
    // Row key to row. A row key is the entry's key, "-", and the file name.
    QHash<QString, Row> data;
    // The row keys shown, in display order (sorted and filtered by refresh()).
    QStringList keys;
    // The project's language names in the order their folders were found.
    QStringList languages;
    // The base-language candidates, asked for anew each time they are needed
    // (the app reads them from the settings, verbalo-cli from --base-language
    // or the settings). Unset: "Base", "en", "en-US".
    std::function<QStringList()> baseLanguages;
    // Language names that never count as missing: in the status, the
    // hide-translated filter, the export and the checks (the app reads them
    // from the settings, verbalo-cli from --ignore-missing or the settings).
    // Unset: none.
    std::function<QStringList()> ignoredLanguages;
    // The layout and key order of saves, asked for at each save (the app
    // reads them from the settings, verbalo-cli from --layout and
    // --collation-locale or the settings). Unset: canonical, current locale.
    std::function<SaveOptions()> saveOptions;
    // Files that load() found but that save() never replaces, so that text
    // the reader could not understand is not lost to a rewrite: files it could
    // not read or decode, files that are not regular files or are too large,
    // files holding text that is not read as entries, links leading outside
    // the project, and files whose keys share a row with another file.
    QMap<QString, KeptFile> keptFiles;
    // Language folders that load() could not list, with why: nothing is
    // written into them.
    QMap<QString, QString> keptFolders;
    // The report of the most recent save().
    SaveReport lastSave;
    // The .stringsdict files of the language folders and the .xcstrings
    // catalogs in the root, as load() read them; save() writes their rows
    // back into them.
    VariantFiles variantFiles;

    // Fills data, mapKeyToFile and languages from projectURL: lproj folders,
    // then bare folders whose name starts with a known code, else (when none)
    // folders the platform names as languages. An lproj folder counts once,
    // never again under its whole name. Unreadable folders and files are
    // skipped; logs "Can't read file @ " and "Empty file for: " lines. Files
    // are read in parallel; the result is that of a load in listing order.
    void load();
    // The same, telling `progress` after each batch how many of the files
    // have been read (from the thread that loads).
    void load(const std::function<void(int read, int total)> &progress);

    // Writes every file of every language from the model, atomically. A row
    // with a base entry is written with the base entry's key and comment, a
    // row without one with each language's own. keptFiles are never written;
    // neither is anything into a language folder that is missing or leads
    // outside the project. Files that could not be written keep their old
    // content and are reported (also in lastSave).
    // In the canonical layout every file is regenerated (an empty one too);
    // in the preserving layout each file is edited as it stands on disk
    // (PreservingWriter), only where its entries changed, keeping its
    // encoding and byte-order mark, and a file is created only when it gets
    // entries. A file that can no longer be read, or that a safe edit cannot
    // keep, is reported and left as it is.
    SaveReport save();

    // R/N.lproj when anything exists there, otherwise R/N.
    QString languageFolderPath(const QString &language) const;

    // Whether the row stands for a whole .txt file ("about.txt-about.txt"),
    // whose entries hold the file's text as it is, unescaped.
    static bool isTxtRowKey(const QString &rowKey);
    // A text that arrives as plain text (from a property-list reader, the
    // memory or a web service) in the form the row holds texts in.
    static QString heldFor(const QString &rowKey, const QString &plain);

    // The row's entry for the first candidate that it holds.
    static std::optional<Entry> baseEntryOf(const Row &row, const QStringList &candidates);
    // Same without a copy: points into the row, or null.
    static const Entry *baseEntryIn(const Row &row, const QStringList &candidates);
    // The base-language candidates in effect.
    QStringList candidates() const;
    // The ignored languages in effect.
    QStringList ignored() const;
    // `languages` less the ignored ones, in order: the languages whose
    // absence makes a row incomplete.
    QStringList countedLanguages() const;
    // Same, for a row key, with candidates().
    std::optional<Entry> baseEntry(const QString &rowKey) const;

    // "!", "Missing: de, fr" or "OK (n)", where n counts the given
    // languages (the counted ones, as a rule) whose text equals the base text. Entries of languages that
    // are not the project's (a base candidate a cell edit added, say) count
    // for nothing.
    static QString statusTextOf(const Row *row, const QStringList &languages,
                                const QStringList &candidates);
    QString statusText(const QString &rowKey) const;
    QString statusText(const QString &rowKey, const QStringList &candidates) const;

    // The text of the cell at display index `index` of `keys` in the column.
    QString cellText(int index, Column column) const;
    QString cellText(int index, Column column, const QStringList &candidates) const;
    // Whether every counted language has an entry in the row (its status
    // reads "OK (n)").
    bool isTranslated(const QString &rowKey) const;

    // Sort comparison of two row keys: true when a must come before b.
    bool lessThan(const QString &a, const QString &b, const SortDescriptor &sort,
                  const QStringList &candidates) const;

    // Whether a row (its row key and the row) is shown.
    using RowFilter = std::function<bool(const QString &rowKey, const Row &row)>;
    // Rebuilds `keys`: every row key of data, sorted stably, then, when
    // hideTranslated is set, only those whose status does not begin with "OK";
    // when `keep` is given, only the row keys it holds for. `keep` is asked
    // once per row that is not hidden, in no particular order.
    // Ties keep code-unit order of the row keys; rows without a base value
    // go last when sorting by value.
    void rebuildKeys(const SortDescriptor &sort, bool hideTranslated);
    void rebuildKeys(const SortDescriptor &sort, bool hideTranslated, const QStringList &candidates,
                     const RowFilter &keep = {});

    // Whether every project language has an entry in the row.
    static bool hasEveryLanguage(const Row &row, const QStringList &languages);

    // "<rows shown> - <project root>".
    QString title() const;

private:
    // A language folder of the project and the names in it.
    struct ListedFolder
    {
        QString language;
        QString path;
        QStringList names;
    };
    // Rows of the .stringsdict files in the folders and of the catalogs among
    // the root's names; files that cannot be read are kept.
    void loadVariants(const QList<ListedFolder> &folders, const QStringList &rootNames);
    // Keeps and logs the names in folder, listed as not valid UTF-8, that end
    // in one of the suffixes: files the load cannot open.
    void keepUndecodable(const QString &folder, const QString &language, const QStringList &names,
                         const QStringList &suffixes);
    // Writes the plural and catalog files whose rows changed (their rows
    // among rowsByFile); adds failures.
    void saveVariants(SaveReport &report, const QHash<QString, FileRows> &rowsByFile);
    // The n of "OK (n)" for a row that has every language.
    static int statusCount(const Row &row, const QStringList &languages, const QStringList &candidates);
    // The rows of each file, by mapKeyToFile.
    QHash<QString, FileRows> rowsPerFile() const;
    // Stands for the entries of the kept file's language in its file's rows
    // (found in rowsByFile): equal entries, equal fingerprints.
    quint64 fingerprintOf(const QHash<QString, FileRows> &rowsByFile, const KeptFile &kept) const;
};
