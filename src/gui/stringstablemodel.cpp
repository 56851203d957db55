// Answers the editor table's questions from the project model.
#include "gui/stringstablemodel.h"

#include "model/problemcache.h"
#include "model/projectmodel.h"

#include <QApplication>
#include <QColor>
#include <QStyle>

StringsTableModel::StringsTableModel(ProjectModel &model, ProblemCache &problems, QObject *parent)
    : QAbstractTableModel(parent), m_model(model), m_problems(problems)
{
}

std::unique_lock<std::mutex> StringsTableModel::lock() const
{
    return m_busyLock ? std::unique_lock<std::mutex>(*m_busyLock) : std::unique_lock<std::mutex>();
}

int StringsTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_model.keys.size());
}

int StringsTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(Columns::all.size());
}

QVariant StringsTableModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const Column column = *Columns::at(index.column());
    const auto guard = lock();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return m_model.cellText(index.row(), column);
    case Qt::ForegroundRole: {
        // Unfinished rows stand out in the Status column.
        if (column != Column::Status)
            return {};
        if (m_model.isTranslated(m_model.keys.at(index.row())))
            return QColor(0x2e, 0x7d, 0x32);
        return QColor(0xb2, 0x3c, 0x17);
    }
    case Qt::DecorationRole: {
        if (column != Column::Status || !m_problems.hasProblems(m_model, m_model.keys.at(index.row())))
            return {};
        return QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
    }
    case Qt::ToolTipRole: {
        if (column == Column::Status) {
            const QList<LanguageProblem> &problems = m_problems.problemsOf(m_model, m_model.keys.at(index.row()));
            if (!problems.isEmpty())
                return tr("Problems in %1:\n%2")
                    .arg(ProjectCheck::languagesOf(problems).join(QStringLiteral(", ")),
                         ProjectCheck::describe(problems));
        }
        const QString text = m_model.cellText(index.row(), column);
        return text.size() > 40 || text.contains(QLatin1Char('\n')) ? QVariant(text) : QVariant();
    }
    default:
        return {};
    }
}

QVariant StringsTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        if (const std::optional<Column> column = Columns::at(section))
            return Columns::title(*column);
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags StringsTableModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && !m_busyLock && Columns::isEditable(*Columns::at(index.column())))
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool StringsTableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid) || role != Qt::EditRole)
        return false;
    emit edited(value, *Columns::at(index.column()), index.row());
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
