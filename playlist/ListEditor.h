#pragma once

#include "playlist/PlayListColumns.h"

#include <QString>

#include <array>
#include <functional>

namespace korvel {

class PlayListModel;

// The playlist's editing commands over the list: moving blocks of rows, cut, copy and paste
// through a row buffer of its own (not the system clipboard), pasting the recently played
// sources, and clearing. t and b below are the top and bottom rows of the selection, p the
// current row; the end row is never cut or moved.
//
// Nothing here is cut short: a cell passes through the buffer and through a move whole, and
// the list never grows past its 254 entries; what does not fit is left out and one message
// says how many (KorvelError after everything that fits is done).
//
// Runs on the user-interface thread. The list's click notification may run from inside a
// command (when the current row changes), and a failure there ends the command.
class ListEditor {
public:
    static constexpr int BufferRows = 30;
    using Row = std::array<QString, PlayListColumns::ColumnCount>;

    explicit ListEditor(PlayListModel& list) : m_list(list) {}

    void MoveRowsUp();
    void MoveRowsDown();
    // The selection's first 30 rows into the buffer; a selected end row is a blank row.
    void CopyRows();
    void CutRows();
    // The buffer's rows before the current row (appended with the end row current).
    void PasteRows();
    // The play history's leading non-empty slots as new entries, through the buffer.
    void PasteHistory(const QStringList& history);
    void ClearList();

    int RowBufferCount() const { return m_count; }
    const Row& bufferRow(int i) const { return m_buffer.at(std::size_t(i)); }

    // Shows the current row in the window's fields (after a paste).
    std::function<void()> ShowCurrentRow;

private:
    void TrimSelection();
    void MoveRows(int direction);
    Row row(int r) const;
    void setRow(int r, const Row& cells);
    void swapRows(int a, int b);

    PlayListModel& m_list;
    std::array<Row, BufferRows> m_buffer;
    int m_count = 0;
};

} // namespace korvel
