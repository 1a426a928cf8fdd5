#pragma once

#include "playlist/PlayListColumns.h"

#include <QObject>
#include <QString>

#include <array>
#include <functional>
#include <vector>

namespace korvel {

// The playlist: a table of text cells, eight columns, addressed by column and row.
//
// Row 0 is the header and holds the column titles; rows 1..N are the entries; row N+1, the
// end row, is always there and holds no entry. The row count is N + 2: an empty list has 2.
// At most 254 entries, so at most 256 rows.
//
// It also holds the grid's current row (the play cursor) and its selection, a block of
// consecutive rows top..bottom. The current row is never the header.
//
// Everything runs on the user-interface thread. The signals tell the views what changed;
// they are raised after the change. The click notification is a plain call instead, so that
// a failure in it ends the operation that moved the row.
class PlayListModel : public QObject, public PlayListColumns {
    Q_OBJECT

public:
    static constexpr int MaxEntries = 254;
    static constexpr int MaxRowCount = MaxEntries + 2;

    // The header with its titles and a blank end row; row 1 is current.
    PlayListModel();

    int rowCount() const { return static_cast<int>(m_rows.size()); }
    int entryCount() const { return rowCount() - 2; }
    // Rows gained are blank in every column; rows lost are discarded with their cells, and
    // the new end row is blanked, so it never carries an entry's cells. The current row
    // keeps its number when it still exists, else becomes the last row; the selection
    // collapses to it; no click notification. A count outside 2..256 is refused and changes
    // nothing: above it raises the full-list text, below it the list-index text.
    void setRowCount(int count);

    // Cells outside the table read as empty. Writing outside it raises the list-index text.
    QString cell(int column, int row) const;
    void setCell(int column, int row, const QString& text);

    // The row guard: rows 1..N are entries, the header and the end row are not.
    bool isEntry(int row) const { return row > 0 && row < rowCount() - 1; }

    // Appends an entry: the end row becomes it (Play "On", Group "Default", Count "1", the
    // location and its file name; No., Start and End empty) and a blank end row follows.
    // With 254 entries the addition is refused and the list stays as it was: raises
    // "The playlist is full: it holds at most 254 entries".
    void AddEntry(const QString& location);
    // Writes r into the No. column of every entry r; the end row's stays empty.
    void NumberRows();

    // The display name of a location: with every "/" read as "\", the text after the last
    // "\" or ":", or the whole text when it has neither.
    static QString FileName(const QString& location);

    int currentRow() const { return m_current; }
    int selectionTop() const { return m_top; }
    int selectionBottom() const { return m_bottom; }

    // Makes `row` (1..row count - 1) current and the selection that row alone; the row that
    // is current already changes nothing, so a selected block stays. When the
    // current row really changes, runs the click notification, whose failure propagates
    // after the move. A row outside the range raises the list-index text and moves nothing.
    void selectRow(int row);

    // Makes rows top..bottom (1..row count - 1, top <= bottom) the selection, with the bottom
    // row current; the grid takes the top row as the anchor of a later Shift extension. No
    // click notification. Rows outside the range raise the list-index text.
    void setSelection(int top, int bottom);

    // The grid's reports of what the user did (mouse or keys). userMove makes `row` current
    // and runs the click notification, also when `row` was current already (a click on it).
    // userSelection records the block the user left selected; no notification.
    void userMove(int row);
    void userSelection(int top, int bottom);

    // The grid's click notification: the current row was clicked, moved by keys, or
    // changed by selectRow.
    std::function<void()> OnClick;

signals:
    // A cell's text changed.
    void cellChanged(int column, int row);
    // Rows were added at or removed from the bottom.
    void rowCountChanged(int oldCount, int newCount);
    // The current row or the selection changed.
    void cursorChanged();

private:
    using Row = std::array<QString, ColumnCount>;

    void requireRow(int row) const;
    void setCursor(int current, int top, int bottom);

    std::vector<Row> m_rows;
    int m_current = 1;
    int m_top = 1;
    int m_bottom = 1;
};

} // namespace korvel
