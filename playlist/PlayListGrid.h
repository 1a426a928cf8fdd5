#pragma once

#include <QTableView>

#include <functional>

class QItemSelection;

namespace korvel {

class PlayListModel;
class PlayListTableModel;

// The grid on screen: the list's rows under a header of its column titles, whole rows
// selected in one block, the current row drawn brighter than the rest of the block. Column
// widths start at the list's and follow the user's mouse; they are not stored.
//
// The grid and the list stay in step both ways. A click on a row (the left button, also on
// the row that is current) and a key that moves the current row report to the list, which
// runs its click notification; a failure there is shown in the error box. Rows, cells,
// the current row and the selection that change in the list show here without any
// notification.
class PlayListGrid : public QTableView {
    Q_OBJECT

public:
    static constexpr int RowHeight = 13;

    PlayListGrid(PlayListModel& list, QWidget* parent);
    ~PlayListGrid() override;

    PlayListModel& list() { return m_list; }
    // Gives the grid its colours (a style sheet), once it is about to be seen.
    void dress();
    // The rectangle of a cell of list row 1 or below, in viewport coordinates.
    QRect cellRect(int column, int row) const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    // Assistive tools hear of a new current row as a focus only while the grid has the
    // keyboard, and of the selection only while it shows: the play order moves the current
    // row of a hidden list at every change of clip.
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void selectionChanged(const QItemSelection& selected,
                          const QItemSelection& deselected) override;

private:
    void setUpLook();
    void setUpColumns();
    void showRowCount(int oldCount, int newCount);
    void showCursor();
    void syncView(int anchor);
    void extendTo(const QModelIndex& pressed);
    void viewCurrentChanged(const QModelIndex& current);
    void viewSelectionChanged();
    // Runs a report of the user's action; the list's reaction shows no cursor back here.
    void report(const std::function<void()>& action);

    PlayListModel& m_list;
    PlayListTableModel* m_table;
    // Set while the list's state is copied to the view: the view's signals are not the user.
    bool m_syncing = false;
    // Set while a user action is reported to the list.
    bool m_reporting = false;
    // Whether the press being handled moved the current row.
    bool m_pressMoved = false;
    // The list row a Shift extension starts from.
    int m_anchor = 1;
};

} // namespace korvel
