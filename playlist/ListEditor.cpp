#include "playlist/ListEditor.h"

#include "base/KorvelError.h"
#include "playlist/ListCapacity.h"
#include "playlist/PlayListModel.h"

#include <QStringList>

#include <algorithm>

namespace korvel {

namespace {

constexpr int HistorySlots = 10;

} // namespace

ListEditor::Row ListEditor::row(int r) const {
    Row cells;
    for (int c = 0; c < PlayListColumns::ColumnCount; ++c)
        cells[std::size_t(c)] = m_list.cell(c, r);
    return cells;
}

void ListEditor::setRow(int r, const Row& cells) {
    for (int c = 0; c < PlayListColumns::ColumnCount; ++c)
        m_list.setCell(c, r, cells[std::size_t(c)]);
}

void ListEditor::swapRows(int a, int b) {
    const Row upper = row(a);
    setRow(a, row(b));
    setRow(b, upper);
}

void ListEditor::CopyRows() {
    m_count = 0;
    for (int r = m_list.selectionTop(); r <= m_list.selectionBottom() && m_count < BufferRows;
         ++r) {
        m_buffer[std::size_t(m_count++)] = row(r);
    }
}

// The end row is never cut or moved: a selection that reaches it ends one row higher, and
// the end row alone stands for the last entry.
void ListEditor::TrimSelection() {
    int top = m_list.selectionTop();
    int bottom = m_list.selectionBottom();
    if (bottom != m_list.rowCount() - 1) return;
    bottom -= 1;
    top = std::min(top, bottom);
    m_list.setSelection(top, bottom);
}

void ListEditor::CutRows() {
    CopyRows();
    if (m_list.rowCount() == 2) {
        setRow(1, Row{});
        m_list.NumberRows();
        return;
    }
    TrimSelection();
    const int top = m_list.selectionTop();
    const int bottom = m_list.selectionBottom();
    const int k = bottom - top + 1;
    for (int r = bottom + 1; r < m_list.rowCount(); ++r) setRow(r - k, row(r));
    m_list.setRowCount(m_list.rowCount() - k);
    const int end = m_list.rowCount() - 1;
    if (m_list.currentRow() == end && end > 1) m_list.selectRow(end - 1);
    m_list.NumberRows();
}

void ListEditor::PasteRows() {
    if (m_count == 0) return;
    ListCapacity capacity(m_list);
    std::vector<SettingsRow> stored(static_cast<std::size_t>(m_count));
    for (std::size_t i = 0; i < stored.size(); ++i) {
        std::copy(m_buffer[i].begin() + 1, m_buffer[i].end(), stored[i].begin());
    }
    const int c = capacity.admit(stored);
    QStringList failures;
    if (c > 0) {
        const int p = m_list.currentRow();
        m_list.setRowCount(m_list.rowCount() + c);
        for (int r = m_list.rowCount() - 1; r >= p + c; --r) setRow(r, row(r - c));
        for (int i = 0; i < c; ++i) setRow(p + i, m_buffer[std::size_t(i)]);
        // A pasted row that cannot be shown (a Count that is no number) is told, and the
        // rows are numbered all the same.
        try {
            if (ShowCurrentRow) ShowCurrentRow();
        } catch (const KorvelError& error) {
            failures.append(error.text());
        }
        m_list.NumberRows();
    }
    if (capacity.leftOut() > 0) failures.append(capacity.message());
    if (!failures.isEmpty()) throw KorvelError::ofLines(failures);
}

void ListEditor::PasteHistory(const QStringList& history) {
    int n = HistorySlots;
    for (int k = HistorySlots; k >= 1; --k) {
        if (history.value(k - 1).isEmpty()) n = k - 1;
    }
    for (int i = 0; i < n; ++i) {
        const QString& location = history.at(i);
        m_buffer[std::size_t(i)] = Row{QString(),
                                       PlayListColumns::PlayOn,
                                       PlayListColumns::DefaultGroup,
                                       PlayListColumns::DefaultCount,
                                       PlayListModel::FileName(location),
                                       QString(),
                                       QString(),
                                       location};
    }
    m_count = n;
    PasteRows();
}

void ListEditor::ClearList() {
    for (int r = 1; r < m_list.rowCount(); ++r) setRow(r, Row{});
    m_list.setRowCount(2);
}

void ListEditor::MoveRowsUp() {
    const int top = m_list.selectionTop();
    if (top > 1 && top < m_list.rowCount() - 1) MoveRows(-1);
}

void ListEditor::MoveRowsDown() {
    if (m_list.selectionBottom() + 2 < m_list.rowCount()) MoveRows(+1);
}

// The block t..b moves one row in the direction; its neighbour on that side passes through
// it to the other end.
void ListEditor::MoveRows(int direction) {
    TrimSelection();
    const int top = m_list.selectionTop();
    const int bottom = m_list.selectionBottom();
    int i = direction < 0 ? top - 1 : bottom + 1;
    const int stop = direction < 0 ? bottom : top;
    do {
        i -= direction;
        swapRows(i, i + direction);
    } while (i != stop);
    m_list.setSelection(top + direction, bottom + direction);
    m_list.NumberRows();
}

} // namespace korvel
