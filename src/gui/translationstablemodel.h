// The translations panel's table model: a thin view of the panel's row, one
// table row per language, with the base-text highlight.
#pragma once

#include <QAbstractTableModel>

class TranslationsViewController;

class TranslationsTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit TranslationsTableModel(TranslationsViewController *panel);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;

    void reload();
    // Every cell is drawn again; the rows stay (safe while a cell editor is open).
    void cellsChanged();

private:
    TranslationsViewController *m_panel;
};
