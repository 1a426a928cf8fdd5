#include "playlist/PlayListTableModel.h"

#include "playlist/PlayListModel.h"

namespace korvel {

PlayListTableModel::PlayListTableModel(const PlayListModel& list, QObject* parent)
    : QAbstractTableModel(parent), m_list(list), m_shownRows(viewRow(list.rowCount())) {}

int PlayListTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_shownRows;
}

int PlayListTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : PlayListModel::ColumnCount;
}

QVariant PlayListTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || role != Qt::DisplayRole) return {};
    return m_list.cell(index.column(), listRow(index.row()));
}

QVariant PlayListTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    return m_list.cell(section, 0);
}

void PlayListTableModel::showCell(int column, int row) {
    if (row == 0) {
        emit headerDataChanged(Qt::Horizontal, column, column);
        return;
    }
    if (viewRow(row) >= m_shownRows) return;
    const QModelIndex at = index(viewRow(row), column);
    emit dataChanged(at, at, {Qt::DisplayRole});
}

void PlayListTableModel::showRowCount(int oldCount, int newCount) {
    const int oldRows = viewRow(oldCount);
    const int newRows = viewRow(newCount);
    if (newRows > oldRows) {
        beginInsertRows({}, oldRows, newRows - 1);
        m_shownRows = newRows;
        endInsertRows();
    } else if (newRows < oldRows) {
        beginRemoveRows({}, newRows, oldRows - 1);
        m_shownRows = newRows;
        endRemoveRows();
    }
}

} // namespace korvel
