// The in-memory model of one project: every entry of every language, grouped
// into rows by row key, with loading, saving, status texts and the row order.
#pragma once

#include "model/entry.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <optional>

// How rows are ordered: by the identifier of a sortable column.
struct SortDescriptor
{
    QString key = QStringLiteral("Key String"); // "Key String", "Value String" or "Status"
    bool ascending = true;
};

// The fields carry the names used throughout the program's documentation of
// the model; every editing command works on them directly.
class ProjectModel
{
public:
    // "Key String", "Value String", "Comment", "Status", "File".
    static const QStringList &columns();

    // Row key to the file name (with extension) that the row came from.
    QHash<QString, QString> mapKeyToFile;
    // The project root; set before load() and save().
    QString projectURL;
    // Row key to row. A row key is the entry's key, "-", and the file name.
    QHash<QString, Row> data;
    // The row keys shown, in display order (sorted and filtered by refresh()).
    QStringList keys;
    // The project's language names in the order their folders were found.
    QStringList languages;
    // Paths of .strings files that load() found but could not read or decode
    // (an unknown encoding, say). save() never replaces them, so text the
    // reader could not understand is not lost to a rewrite.
    QSet<QString> unreadableFiles;

    // Fills data, mapKeyToFile and languages from projectURL: lproj folders,
    // then bare folders whose name starts with a known code, else (when none)
    // folders the platform names as languages. An lproj folder counts once,
    // never again under its whole name. Unreadable folders and files are
    // skipped; logs "Can't read file @ " and "Empty file for: " lines. Files
    // are read in parallel; the result is that of a load in listing order.
    void load();

    // Writes every file of every language from the model, atomically; files
    // that cannot be written, and the unreadableFiles, are skipped silently.
    void save() const;

    // R/N.lproj when anything exists there, otherwise R/N.
    QString languageFolderPath(const QString &language) const;

    // The row's entry for the first candidate that it holds.
    static std::optional<Entry> baseEntryOf(const Row &row, const QStringList &candidates);
    // Same without a copy: points into the row, or null.
    static const Entry *baseEntryIn(const Row &row, const QStringList &candidates);
    // Same, for a row key, with the candidates read from the settings.
    std::optional<Entry> baseEntry(const QString &rowKey) const;

    // "!", "Missing: de, fr" or "OK (n)".
    static QString statusTextOf(const Row *row, const QStringList &languages,
                                const QStringList &candidates);
    QString statusText(const QString &rowKey) const;
    QString statusText(const QString &rowKey, const QStringList &candidates) const;

    // The text of the cell at display index `index` of `keys` in the column.
    // An unknown column logs "<column>: We shouldn't be here" and gives "".
    QString cellText(int index, const QString &column) const;
    QString cellText(int index, const QString &column, const QStringList &candidates) const;

    // Sort comparison of two row keys: true when a must come before b.
    bool lessThan(const QString &a, const QString &b, const SortDescriptor &sort,
                  const QStringList &candidates) const;

    // Rebuilds `keys`: every row key of data, sorted stably, then, when
    // hideTranslated is set, only those whose status does not begin with "OK".
    // Ties keep code-unit order of the row keys; rows without a base value
    // go last when sorting by value.
    void rebuildKeys(const SortDescriptor &sort, bool hideTranslated);
    void rebuildKeys(const SortDescriptor &sort, bool hideTranslated, const QStringList &candidates);
    // rebuildKeys() with the "hide.translated" setting and the candidates of
    // the settings.
    void refresh(const SortDescriptor &sort = {});

    // "<rows shown> - <project root>".
    QString title() const;
};
