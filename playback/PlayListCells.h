#pragma once

#include <QString>

namespace korvel {

// The playlist as the playback window reads and writes it: cells by column and row of the
// grid (header row 0, entries 1..N, the blank end row N+1), and the current row.
class PlayListCells {
public:
    virtual ~PlayListCells() = default;
    virtual int currentRow() const = 0;
    virtual int rowCount() const = 0;
    virtual QString cell(int column, int row) const = 0;
    virtual void setCell(int column, int row, const QString& text) = 0;
};

} // namespace korvel
