#include "playlist/PlayListModel.h"

#include "base/FixedTexts.h"
#include "base/KorvelError.h"

#include <algorithm>

namespace korvel {

namespace {

KorvelError indexError(int index) { return KorvelError(FixedTexts::ListIndex.arg(index)); }

KorvelError fullError() { return KorvelError(FixedTexts::ListFull.arg(PlayListModel::MaxEntries)); }

} // namespace

PlayListModel::PlayListModel() : m_rows(2) { m_rows.front() = Titles; }

void PlayListModel::setRowCount(int count) {
    if (count > MaxRowCount) throw fullError();
    if (count < 2) throw indexError(count);
    const int old = rowCount();
    if (count == old) return;
    if (count < old) {
        for (int column = 0; column < ColumnCount; ++column) setCell(column, count - 1, {});
    }
    m_rows.resize(static_cast<std::size_t>(count));
    // The cursor is in its new place before anyone hears of the new rows.
    const int current = std::min(m_current, count - 1);
    const bool moved = current != m_current || m_top != current || m_bottom != current;
    m_current = m_top = m_bottom = current;
    emit rowCountChanged(old, count);
    if (moved) emit cursorChanged();
}

QString PlayListModel::cell(int column, int row) const {
    if (column < 0 || column >= ColumnCount || row < 0 || row >= rowCount()) return {};
    return m_rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

void PlayListModel::setCell(int column, int row, const QString& text) {
    if (column < 0 || column >= ColumnCount) throw indexError(column);
    requireRow(row);
    QString& stored = m_rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
    if (stored == text) return;
    stored = text;
    emit cellChanged(column, row);
}

void PlayListModel::AddEntry(const QString& location) {
    if (entryCount() >= MaxEntries) throw fullError();
    const int entry = rowCount() - 1;
    setRowCount(rowCount() + 1);
    setCell(NoColumn, entry, {});
    setCell(PlayColumn, entry, PlayOn);
    setCell(GroupColumn, entry, DefaultGroup);
    setCell(CountColumn, entry, DefaultCount);
    setCell(FileNameColumn, entry, FileName(location));
    setCell(StartColumn, entry, {});
    setCell(EndColumn, entry, {});
    setCell(LocationColumn, entry, location);
}

void PlayListModel::NumberRows() {
    for (int row = 1; row <= entryCount(); ++row) setCell(NoColumn, row, QString::number(row));
}

QString PlayListModel::FileName(const QString& location) {
    QString path = location;
    path.replace(u'/', u'\\');
    const qsizetype last = std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u':'));
    return path.mid(last + 1);
}

void PlayListModel::selectRow(int row) {
    if (row < 1 || row >= rowCount()) throw indexError(row);
    // Selecting the row that is current already leaves a selected block as it is.
    if (row == m_current) return;
    setCursor(row, row, row);
    if (OnClick) OnClick();
}

void PlayListModel::setSelection(int top, int bottom) {
    requireRow(top);
    requireRow(bottom);
    if (top < 1 || bottom < top) throw KorvelError(FixedTexts::ListIndex.arg(top));
    setCursor(bottom, top, bottom);
}

void PlayListModel::userMove(int row) {
    if (row < 1 || row >= rowCount()) return;
    setCursor(row, m_top, m_bottom);
    if (OnClick) OnClick();
}

void PlayListModel::userSelection(int top, int bottom) {
    top = std::clamp(top, 1, rowCount() - 1);
    bottom = std::clamp(bottom, top, rowCount() - 1);
    setCursor(m_current, top, bottom);
}

void PlayListModel::requireRow(int row) const {
    if (row < 0 || row >= rowCount()) throw indexError(row);
}

void PlayListModel::setCursor(int current, int top, int bottom) {
    if (current == m_current && top == m_top && bottom == m_bottom) return;
    m_current = current;
    m_top = top;
    m_bottom = bottom;
    emit cursorChanged();
}

} // namespace korvel
