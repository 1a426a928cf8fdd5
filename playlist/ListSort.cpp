#include "playlist/ListSort.h"

#include "playlist/PlayListModel.h"

#include <QCollator>

#include <algorithm>
#include <array>
#include <vector>

namespace korvel {

namespace {

using Row = std::array<QString, PlayListModel::ColumnCount>;

std::vector<Row> takeEntries(const PlayListModel& list) {
    std::vector<Row> rows;
    rows.reserve(static_cast<std::size_t>(list.entryCount()));
    for (int row = 1; row <= list.entryCount(); ++row) {
        Row& cells = rows.emplace_back();
        for (int column = 0; column < PlayListModel::ColumnCount; ++column) {
            cells[static_cast<std::size_t>(column)] = list.cell(column, row);
        }
    }
    return rows;
}

void putEntries(PlayListModel& list, const std::vector<Row>& rows) {
    int row = 1;
    for (const Row& cells : rows) {
        for (int column = 0; column < PlayListModel::ColumnCount; ++column) {
            list.setCell(column, row, cells[static_cast<std::size_t>(column)]);
        }
        ++row;
    }
}

} // namespace

void ListSort::SortByLocation(PlayListModel& list) {
    std::vector<Row> rows = takeEntries(list);
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    constexpr auto location = static_cast<std::size_t>(PlayListModel::LocationColumn);
    // Stable, so that a second sort, or locations that differ only in case, leave the
    // user's order of equal entries alone.
    std::stable_sort(rows.begin(), rows.end(), [&collator](const Row& a, const Row& b) {
        return collator.compare(a[location], b[location]) < 0;
    });
    putEntries(list, rows);
    list.NumberRows();
}

} // namespace korvel
