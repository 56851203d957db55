// Answers the panel table's questions from the panel's row.
#include "gui/translationstablemodel.h"

#include "model/projectcheck.h"

#include <QApplication>
#include <QPalette>
#include <QStyle>

namespace {
PanelColumn panelColumn(int section)
{
    return section == 0 ? PanelColumn::Language : PanelColumn::Translation;
}
} // namespace

TranslationsTableModel::TranslationsTableModel(TranslationsPanel &panel, std::function<QStringList()> candidates,
                                               std::function<QStringList()> ignored, QObject *parent)
    : QAbstractTableModel(parent), m_panel(panel), m_candidates(std::move(candidates)),
      m_ignored(std::move(ignored))
{
}

int TranslationsTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_panel.rowCount();
}

int TranslationsTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant TranslationsTableModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const PanelColumn column = panelColumn(index.column());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return m_panel.cellText(column, index.row());
    case Qt::DecorationRole: {
        if (column != PanelColumn::Language || m_panel.problemsAt(index.row(), m_candidates(), m_ignored()).isEmpty())
            return {};
        return QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
    }
    case Qt::ToolTipRole: {
        const QList<CheckProblem> problems = m_panel.problemsAt(index.row(), m_candidates(), m_ignored());
        if (!problems.isEmpty())
            return ProjectCheck::describe(problems);
        const QString text = m_panel.cellText(column, index.row());
        return text.size() > 30 || text.contains(QLatin1Char('\n')) ? QVariant(text) : QVariant();
    }
    case Qt::BackgroundRole:
    case Qt::ForegroundRole: {
        if (!m_panel.isHighlighted(column, index.row(), m_candidates()))
            return {};
        const QPalette palette = QApplication::palette();
        return role == Qt::BackgroundRole ? palette.brush(QPalette::Highlight)
                                          : palette.brush(QPalette::HighlightedText);
    }
    default:
        return {};
    }
}

QVariant TranslationsTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < 2)
        return TranslationsPanel::title(panelColumn(section));
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags TranslationsTableModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && TranslationsPanel::isEditable(panelColumn(index.column())))
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool TranslationsTableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid) || role != Qt::EditRole
        || value.typeId() != QMetaType::QString)
        return false;
    const std::optional<QString> language = m_panel.languageAt(index.row());
    const std::optional<QString> path = m_panel.pathAt(index.row());
    if (!language || !m_panel.edit(index.row(), value.toString(), m_candidates()))
        return false;
    cellsChanged();
    emit edited(*language, value.toString(), path);
    return true;
}

void TranslationsTableModel::reload()
{
    beginResetModel();
    endResetModel();
}

void TranslationsTableModel::cellsChanged()
{
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}
