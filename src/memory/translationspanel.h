// What the translations panel beside the editor shows and how an edit in it
// becomes a changed row: the rules behind the panel's table, free of widgets.
#pragma once

#include "model/entry.h"
#include "model/projectmodel.h"

#include <QString>
#include <QStringList>
#include <optional>

class TranslationsPanel
{
public:
    // "Language", "Translation".
    static const QStringList &columns();

    // The row shown (a copy of the editor's row) and the languages listed, one
    // per table row; both absent while the panel is empty.
    std::optional<Row> item;
    std::optional<QStringList> languages;
    // The row key the shown row came from, so an edit finds its way back even
    // when the editor has no row selected any more.
    QString rowKey;

    // Shows a copy of the row with the given languages sorted by code point.
    void show(const QString &rowKey, const Row &row, QStringList languages);
    // Empties the panel (several rows selected).
    void clear();

    int rowCount() const;
    // Language name, or the language's value; empty when there is none. Logs
    // "<panel>: We shouldn't be here" for an unknown column.
    QString cellText(const QString &column, int index) const;
    static bool isEditable(const QString &column);
    // A "Translation" cell whose value equals the base entry's value
    // (canonically equivalent texts are equal). The base language's own cell
    // is not highlighted: it is always equal to itself.
    bool isHighlighted(const QString &column, int index, const QStringList &candidates) const;

    // Applies an edit of the Translation cell of table row `index` to `item`:
    // a blank value removes the language's entry, any other value is stored as
    // typed with the base entry's key and comment. Returns false, changing
    // nothing, when there is no item, no base entry or no such table row.
    bool edit(int index, const QString &value, const QStringList &candidates);

    // The editor's side of a panel edit: stores the row under the row key and
    // saves the project. A row key that is no longer in the model (its row was
    // deleted meanwhile) is not brought back; returns false then.
    static bool storeTranslations(ProjectModel &model, const QString &rowKey, const Row &row);
};
