// The translations panel's table model: a thin view of the panel's rules
// object, one table row per language, with the base-text highlight.
#pragma once

#include "memory/translationspanel.h"

#include <QAbstractTableModel>
#include <functional>

class TranslationsTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    // Shows `panel`, which must outlive the model; `candidates` gives the
    // base-language candidates for the highlight and the checks, `ignored`
    // the languages left out of the checks. A language whose text has check
    // problems shows a warning icon, and the problems as its tooltip.
    TranslationsTableModel(TranslationsPanel &panel, std::function<QStringList()> candidates,
                           std::function<QStringList()> ignored, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // Applies the edit to the panel's row; edited() then tells the owner.
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;

    void reload();
    // Every cell is drawn again; the rows stay (safe while a cell editor is open).
    void cellsChanged();

signals:
    // A language's text was edited in the table and applied to the panel's row.
    // `path` names the variant of a plural or catalog row's line.
    void edited(const QString &language, const QString &value, const std::optional<QString> &path);

private:
    TranslationsPanel &m_panel;
    std::function<QStringList()> m_candidates;
    std::function<QStringList()> m_ignored;
};
