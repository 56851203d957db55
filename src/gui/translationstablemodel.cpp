// Answers the panel table's questions from the panel's row.
#include "gui/translationstablemodel.h"

#include "gui/translationsviewcontroller.h"

#include "common/settings.h"
#include "memory/translationspanel.h"

#include <QApplication>
#include <QPalette>

TranslationsTableModel::TranslationsTableModel(TranslationsViewController *panel)
    : QAbstractTableModel(panel), m_panel(panel)
{
}

int TranslationsTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_panel->panel().rowCount();
}

int TranslationsTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(TranslationsPanel::columns().size());
}

QVariant TranslationsTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const QString &column = TranslationsPanel::columns().at(index.column());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return m_panel->panel().cellText(column, index.row());
    case Qt::ToolTipRole: {
        const QString text = m_panel->panel().cellText(column, index.row());
        return text.size() > 30 || text.contains(QLatin1Char('\n')) ? QVariant(text) : QVariant();
    }
    case Qt::BackgroundRole:
    case Qt::ForegroundRole: {
        if (!m_panel->panel().isHighlighted(column, index.row(),
                                            Settings::baseLanguageCandidates()))
            return {};
        const QPalette palette = QApplication::palette(m_panel);
        return role == Qt::BackgroundRole ? palette.brush(QPalette::Highlight)
                                          : palette.brush(QPalette::HighlightedText);
    }
    default:
        return {};
    }
}

QVariant TranslationsTableModel::headerData(int section, Qt::Orientation orientation,
                                            int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0
        && section < TranslationsPanel::columns().size())
        return tr(TranslationsPanel::columns().at(section).toUtf8().constData());
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags TranslationsTableModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && TranslationsPanel::isEditable(TranslationsPanel::columns().at(index.column())))
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool TranslationsTableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    return m_panel->cellEdited(value, index.row());
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
