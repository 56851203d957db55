// The editor's table model: a thin view of the project model's rows in the
// five columns. Cell edits are handed on as a signal; the editor owns the rules.
#pragma once

#include "model/column.h"

#include <QAbstractTableModel>
#include <mutex>

class ProblemCache;
class ProjectModel;

class StringsTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    // Shows `model`, which must outlive the table model, with the check
    // problems of `problems`: the Status cell of a row that has some keeps its
    // text and adds a warning icon and a tooltip naming them.
    StringsTableModel(ProjectModel &model, ProblemCache &problems, QObject *parent = nullptr);

    // While set, the model is read under this lock (a background job writes
    // it) and no cell can be edited.
    void setBusyLock(std::mutex *lock) { m_busyLock = lock; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // Emits edited() and redraws the row; the editor decides what is stored.
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;

    // The table asks for every row and cell again.
    void reload();
    // Every cell of one row is drawn again.
    void rowChanged(int row);

signals:
    void edited(const QVariant &value, Column column, int row);

private:
    std::unique_lock<std::mutex> lock() const;

    ProjectModel &m_model;
    ProblemCache &m_problems;
    std::mutex *m_busyLock = nullptr;
};
