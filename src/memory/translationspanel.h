// What the translations panel beside the editor shows and how an edit in it
// becomes a changed row: the rules behind the panel's table, free of widgets.
#pragma once

#include "model/row.h"
#include "model/projectmodel.h"
#include "model/translationcheck.h"

#include <QString>
#include <QStringList>
#include <optional>

// The panel's two columns: the language name and its text.
enum class PanelColumn { Language, Translation };

// One table row of the panel: a language, or for a plural or catalog row one
// variant of a language ("de · one").
struct PanelLine
{
    QString language;
    QString path; // the variant's path (see EntryVariant); empty for a whole entry
    bool variant = false;
};

class TranslationsPanel
{
public:
    // The column's header title in the user's language.
    static QString title(PanelColumn column);

    // The row shown (a copy of the editor's row) and the languages listed, one
    // per table row; both absent while the panel is empty.
    std::optional<Row> item;
    std::optional<QStringList> languages;
    // The row key the shown row came from, so an edit finds its way back even
    // when the editor has no row selected any more.
    QString rowKey;
    // The table rows: one per language, except that a row of a .stringsdict
    // or .xcstrings file lists each language once per variant: those its
    // entry has, else the base entry's, and for plural groups also every
    // category the language's plural rules need. A catalog row lists no Base.
    QList<PanelLine> lines;

    // Shows a copy of the row with the given languages sorted by code point;
    // `candidates` (default "Base", "en", "en-US") find the base entry whose
    // variants a language without its own lists.
    void show(const QString &rowKey, const Row &row, QStringList languages, QStringList candidates = {});
    // Empties the panel (several rows selected).
    void clear();

    int rowCount() const;
    // Language name (with the variant, and a catalog unit's review state in
    // brackets: "de · one [needs_review]"), or the language's text; empty when
    // there is none.
    QString cellText(PanelColumn column, int index) const;
    static bool isEditable(PanelColumn column);
    // A "Translation" cell whose value equals the base entry's value
    // (canonically equivalent texts are equal). The base language's own cell
    // is not highlighted: it is always equal to itself.
    bool isHighlighted(PanelColumn column, int index, const QStringList &candidates) const;

    // The check problems of the language at table row `index` against the
    // shown row's base text (ProjectCheck::checkRow); none for an ignored
    // language, the base language, or a row without a base entry.
    QList<CheckProblem> problemsAt(int index, const QStringList &candidates,
                                   const QStringList &ignored) const;

    // The language listed at table row `index`, if any.
    std::optional<QString> languageAt(int index) const;
    // The variant path of table row `index`; nothing for a whole entry.
    std::optional<QString> pathAt(int index) const;

    // An edit of one language's text applied to a row: a blank value (only
    // white space and line breaks) removes the language's entry, any other
    // value is stored as typed with the key and comment of the row's base
    // entry. Returns false, changing nothing, when the row has no base entry.
    static bool applyEdit(Row &row, const QString &language, const QString &value,
                          const QStringList &candidates);

    // The same for one variant of a plural or catalog entry: a blank value
    // removes the variant (and the entry with its last one), any other value
    // sets it, creating the entry with the base entry's key and comment; a
    // catalog unit becomes "translated". The entry's value follows its
    // primary variant.
    static bool applyVariantEdit(Row &row, const QString &language, const QString &path, const QString &value,
                                 const QStringList &candidates, bool catalog);

    // applyEdit() or applyVariantEdit() on the shown copy, for the language of table row `index`.
    // False when the panel is empty or has no such row.
    bool edit(int index, const QString &value, const QStringList &candidates);

    // The editor's side of a panel edit: applies it to the model's own row
    // under the row key (not to the panel's copy, which may be older than the
    // model after other commands) and saves the project. Returns false,
    // changing and saving nothing, when the row key has no row any more (it
    // was deleted meanwhile) or the row has no base entry.
    // `path` names the variant edited, if the row key is of a variant file;
    // without it such an edit sets the primary variant (the plain unit or the
    // "other" form) and keeps the others.
    static bool storeTranslation(ProjectModel &model, const QString &rowKey,
                                 const QString &language, const QString &value,
                                 const std::optional<QString> &path = std::nullopt);
};
