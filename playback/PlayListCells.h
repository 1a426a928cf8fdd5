#pragma once

#include <QString>

#include <functional>

namespace korvel {

// The playlist as the playback logic reads and moves it: cells by column and row of the list
// (header row 0, entries 1..N, the blank end row N+1; columns as in PlayListColumns), and the
// current row, which is the play cursor. Runs on the user-interface thread.
class PlayListCells {
public:
    virtual ~PlayListCells() = default;
    virtual int currentRow() const = 0;
    virtual int rowCount() const = 0;
    // Cells outside the list read as empty.
    virtual QString cell(int column, int row) const = 0;
    virtual void setCell(int column, int row, const QString& text) = 0;
    // Makes `row` (1..row count - 1) current, as a selection of that row alone; the list's
    // fields then show it. The current row itself changes nothing.
    virtual void selectRow(int row) = 0;
    // From now on `changed` runs after each change of a cell, of the row count or of the
    // current row, made by anyone; an empty one ends that.
    virtual void whenChanged(std::function<void()> changed) = 0;
};

} // namespace korvel
