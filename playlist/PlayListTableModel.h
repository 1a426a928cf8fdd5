#pragma once

#include <QAbstractTableModel>

namespace korvel {

class PlayListModel;

// The playlist as Qt's item views see it. The list's header row 0 is the view's horizontal
// header; view row v shows list row v + 1, so the entries are view rows 0..N-1 and the end
// row is view row N. Read-only: the list is edited through the fields and commands.
//
// The owner forwards the list's signals to showCell and showRowCount, so that it can hold
// its own reactions to the view's adjustments while the rows change.
class PlayListTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit PlayListTableModel(const PlayListModel& list, QObject* parent = nullptr);

    static int listRow(int viewRow) { return viewRow + 1; }
    static int viewRow(int listRow) { return listRow - 1; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    void showCell(int column, int row);
    void showRowCount(int oldCount, int newCount);

private:
    const PlayListModel& m_list;
    // The view's row count, which follows the list's between the begin and end reports.
    int m_shownRows;
};

} // namespace korvel
