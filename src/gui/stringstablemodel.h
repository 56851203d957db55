// The editor's table model: a thin view of the project model's rows in the five
// columns; cell edits go to the editor, which owns the rules.
#pragma once

#include <QAbstractTableModel>

class StringsViewController;

class StringsTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit StringsTableModel(StringsViewController *editor);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;

    // The table asks for every row and cell again.
    void reload();
    // Every cell of one row is drawn again.
    void rowChanged(int row);

private:
    StringsViewController *m_editor;
};
