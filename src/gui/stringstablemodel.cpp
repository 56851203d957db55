// Answers the editor table's questions from the project model.
#include "gui/stringstablemodel.h"

#include "gui/stringsviewcontroller.h"

#include "model/projectmodel.h"

#include <QColor>

StringsTableModel::StringsTableModel(StringsViewController *editor)
    : QAbstractTableModel(editor), m_editor(editor)
{
}

int StringsTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_editor->model().keys.size());
}

int StringsTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(ProjectModel::columns().size());
}

QVariant StringsTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const QString &column = ProjectModel::columns().at(index.column());
    const auto lock = m_editor->lockModel();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return m_editor->model().cellText(index.row(), column);
    case Qt::ForegroundRole: {
        // Unfinished rows stand out in the Status column.
        if (column != QLatin1String("Status"))
            return {};
        const QString status = m_editor->model().cellText(index.row(), column);
        if (status.startsWith(QLatin1String("OK")))
            return QColor(0x2e, 0x7d, 0x32);
        return QColor(0xb2, 0x3c, 0x17);
    }
    case Qt::ToolTipRole: {
        const QString text = m_editor->model().cellText(index.row(), column);
        return text.size() > 40 || text.contains(QLatin1Char('\n')) ? QVariant(text) : QVariant();
    }
    default:
        return {};
    }
}

QVariant StringsTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0
        && section < ProjectModel::columns().size())
        return tr(ProjectModel::columns().at(section).toUtf8().constData());
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags StringsTableModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && m_editor->mayEdit(ProjectModel::columns().at(index.column())))
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool StringsTableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    m_editor->commitEdit(value, ProjectModel::columns().at(index.column()), index.row());
    rowChanged(index.row());
    return true;
}

void StringsTableModel::reload()
{
    beginResetModel();
    endResetModel();
}

void StringsTableModel::rowChanged(int row)
{
    if (row < 0 || row >= rowCount())
        return;
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}
