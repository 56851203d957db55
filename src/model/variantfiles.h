// The project's .stringsdict and .xcstrings files: their documents kept from
// the load, their keys turned into entries, and the edits of the rows written
// back into the documents, changing only what changed.
#pragma once

#include "model/entry.h"
#include "model/row.h"
#include "model/stringcatalogdocument.h"
#include "model/stringsdictdocument.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <utility>

// A variant file's place in the project and what went wrong with it.
struct VariantFileProblem
{
    QString path;
    QString language; // empty for a catalog
    QString fileName;
    QString reason;
};

class VariantFiles
{
public:
    static inline const QString StringsDictSuffix = QStringLiteral(".stringsdict");
    static inline const QString CatalogSuffix = QStringLiteral(".xcstrings");

    static bool isStringsDict(const QString &fileName) { return fileName.endsWith(StringsDictSuffix); }
    static bool isCatalog(const QString &fileName) { return fileName.endsWith(CatalogSuffix); }
    static bool isVariantFile(const QString &fileName) { return isStringsDict(fileName) || isCatalog(fileName); }

    // The variant that an entry's `value` stands for: the plain unit when
    // there is one, else the first "other" category with the fewest steps
    // (the base plural form), else the first. -1 for no variants.
    static qsizetype primaryIndex(const QList<EntryVariant> &variants);
    // The variants with the primary one's text replaced by `value` when the
    // two differ (its state then becomes "translated" for a catalog entry).
    // An entry without variants (made by a command that knows only texts) gets
    // one at the primary path of `shape`, the base entry's variants.
    static QList<EntryVariant> effectiveVariants(const Entry &entry, const QList<EntryVariant> &shape,
                                                 bool catalog);
    // Stores a text that arrives for a language (from the memory, an import)
    // in the row: a plural or catalog entry that the language has keeps its
    // other variants and takes the text as its value; otherwise `entry` is
    // stored as it is.
    static void storeText(Row &row, const QString &language, Entry entry);
    // A machine translation's entry for a row of the file: in a catalog its
    // unit (at the base entry's primary path) is marked needs_review; other
    // entries come back unchanged.
    static Entry machineTranslated(const QString &rowKey, Entry entry, const Entry &base);
    // How the panel names a variant: "one", "count · one", "iphone · other";
    // `variables` is the count of plural variables of a .stringsdict entry.
    static QString label(const QString &path, bool catalog, int variables);

    // Reads a .stringsdict of a language folder: its entries with their
    // variants, in file order, or nothing and the reason.
    bool loadStringsDict(const QString &path, const QString &language, const QString &fileName,
                         QList<Entry> *entries, QString *error);
    // Reads a catalog: every language's entries by key (the source language's
    // text is the key itself where it has no unit), or nothing and the reason.
    // `languages` receives the source language and those of `localizations`.
    bool loadCatalog(const QString &path, const QString &fileName, QStringList *languages,
                     QList<std::pair<QString, Entry>> *keyedEntries, QString *error);

    // Applies the rows of every variant file to its document and writes the
    // documents whose bytes changed; only `languages` are written into a
    // catalog, and "Base" only into one that already has it. A .stringsdict key is added to, changed in, or removed from the
    // language's file as its row's entry is; a language folder without that
    // file gets one only when folderFor(language) names an existing folder.
    // Returns the paths that could not be written, with why.
    QList<std::pair<QString, QString>> save(const QHash<QString, Row> &data,
                                            const QHash<QString, QStringList> &rowKeysByFile,
                                            const QStringList &languages,
                                            const QStringList &candidates,
                                            const std::function<QString(const QString &)> &folderFor);

    // Files the last load could not read; they are never written.
    const QList<VariantFileProblem> &problems() const { return m_problems; }
    void addProblem(VariantFileProblem problem) { m_problems.append(std::move(problem)); }

    // The .stringsdict file names of the project (any language) and the catalogs'.
    QStringList fileNames() const;

private:
    struct DictFile
    {
        QString path;
        QString language;
        QString fileName;
        std::optional<StringsDictDocument> document;
        QByteArray bytes; // as on disk
    };
    struct CatalogFile
    {
        QString path;
        QString fileName;
        std::optional<StringCatalogDocument> document;
        QByteArray bytes;
    };

    bool applyToDict(StringsDictDocument &document, const QString &fileName, const QString &language,
                            const QHash<QString, Row> &data, const QStringList &rowKeys,
                            const QStringList &candidates) const;
    static void applyToCatalog(StringCatalogDocument &document, const QString &fileName,
                               const QStringList &languages, const QHash<QString, Row> &data,
                               const QStringList &candidates);

    QList<DictFile> m_dicts;
    QList<CatalogFile> m_catalogs;
    QList<VariantFileProblem> m_problems;
};
