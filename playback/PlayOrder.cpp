#include "playback/PlayOrder.h"

#include "playback/PlayListCells.h"
#include "playlist/PlayListColumns.h"

#include <QDateTime>

#include <random>
#include <vector>

namespace korvel {

namespace {

bool enabled(const PlayListCells& list, int row) {
    return list.cell(PlayListColumns::PlayColumn, row) == PlayListColumns::PlayOn;
}

} // namespace

// Rows 0..N form a ring of M = N + 1 places (the header is place 0). The walk takes at most
// M steps; the M-th lands on the starting row again, which counts as nothing found, so the
// current entry never follows itself.
int PlayOrder::walk(const PlayListCells& list, int from, int direction, bool loop) {
    const int places = list.rowCount() - 1;
    if (places < 1) return 0;
    int row = from;
    for (int step = 1; step < places; ++step) {
        row = ((row + direction) % places + places) % places;
        if (row != 0 && enabled(list, row)) return row;
        if (row == 0 && !loop) return 0;
    }
    return 0;
}

int PlayOrder::shuffle(const PlayListCells& list) const {
    std::vector<int> rows;
    for (int row = 1; row < list.rowCount() - 1; ++row) {
        if (enabled(list, row)) rows.push_back(row);
    }
    if (rows.empty()) return 0;
    const int k = m_draw(int(rows.size()));
    return rows.at(std::size_t(k));
}

int PlayOrder::clockDraw(int count) {
    const QTime now = QDateTime::currentDateTimeUtc().time();
    std::mt19937 source(std::uint32_t(now.msecsSinceStartOfDay()));
    return std::uniform_int_distribution<int>(0, count - 1)(source);
}

} // namespace korvel
