#include "base/ReachablePlace.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace korvel {

namespace {

// How far apart two rectangles are: 0 when they touch or overlap, in squared pixels.
std::int64_t gapBetween(const QRect& a, const QRect& b) {
    const std::int64_t dx = std::max({0, b.left() - a.right() - 1, a.left() - b.right() - 1});
    const std::int64_t dy = std::max({0, b.top() - a.bottom() - 1, a.top() - b.bottom() - 1});
    return dx * dx + dy * dy;
}

std::int64_t areaOf(const QRect& r) {
    return r.isEmpty() ? 0 : std::int64_t(r.width()) * r.height();
}

// The start that puts a span of `length` inside [low, low + room): as near to `start` as can
// be, at `low` when the span is longer than the room.
int clampedStart(int start, int length, int low, int room) {
    return std::max(low, std::min(start, low + room - length));
}

} // namespace

ReachablePlace ReachablePlace::face(QSize size) {
    return ReachablePlace(QRect(QPoint(0, 0), size), size, size);
}

ReachablePlace ReachablePlace::caption(QSize client) {
    const int width = client.width();
    const QSize grip(std::min(width, CaptionGrip.width()), CaptionGrip.height());
    return ReachablePlace(QRect(0, 0, width, CaptionHeight), grip, client + FrameAllowance);
}

bool ReachablePlace::reachableOn(const QRect& part, const QRect& screen) const {
    const QRect shown = part & screen;
    return !shown.isEmpty() && shown.width() >= m_grip.width() && shown.height() >= m_grip.height();
}

// A window taller or wider than the free part starts at its top or left edge: the caption
// bar shows whole, and as much of the rest as there is room for.
QPoint ReachablePlace::placeFor(QPoint stored, const QList<Screen>& screens) const {
    const QRect part = m_part.translated(stored);
    const Screen* nearest = nullptr;
    std::int64_t nearestGap = std::numeric_limits<std::int64_t>::max();
    std::int64_t nearestShown = -1;
    for (const Screen& screen : screens) {
        if (screen.whole.isEmpty()) continue;
        if (reachableOn(part, screen.whole)) return stored;
        const std::int64_t gap = gapBetween(part, screen.whole);
        const std::int64_t shown = areaOf(part & screen.whole);
        if (gap < nearestGap || (gap == nearestGap && shown > nearestShown)) {
            nearest = &screen;
            nearestGap = gap;
            nearestShown = shown;
        }
    }
    if (!nearest) return stored;
    const QRect room = nearest->available.isEmpty() ? nearest->whole : nearest->available;
    return QPoint(clampedStart(stored.x(), m_outer.width(), room.left(), room.width()),
                  clampedStart(stored.y(), m_outer.height(), room.top(), room.height()));
}

} // namespace korvel
