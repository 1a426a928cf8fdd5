#include "engine/FrameCounts.h"

#include "engine/EngineLog.h"

#include <mpv/client.h>

#include <cmath>

namespace korvel {

namespace {

// In the order of the counts.
constexpr const char* CountProperties[] = {"frame-drop-count", "decoder-frame-drop-count",
                                           "vo-delayed-frame-count"};

QByteArray countText(std::int64_t count) {
    return count < 0 ? QByteArray("unknown") : QByteArray::number(count);
}

} // namespace

void FrameCounts::observe(mpv_handle* mpv, std::uint64_t firstId) {
    m_firstId = firstId;
    m_observed = true;
    for (std::uint64_t i = 0; i < std::size(CountProperties); ++i)
        mpv_observe_property(mpv, firstId + i, CountProperties[i], MPV_FORMAT_DOUBLE);
}

bool FrameCounts::take(std::uint64_t id, bool available, double value) {
    if (!m_observed || id < m_firstId || id >= m_firstId + m_counts.size()) return false;
    if (available) m_counts[id - m_firstId] = std::llround(value);
    return true;
}

// The engine counts each clip from 0 and says so when its count changes; one that stays
// unchanged from the clip before is not said again, so the counts are kept.
void FrameCounts::startClip() { m_told = false; }

void FrameCounts::endClip() {
    if (!m_observed || m_told) return;
    m_told = true;
    qCInfo(EngineLog::category(), "frames of the clip: %s", text().constData());
}

QByteArray FrameCounts::text() const {
    return "dropped " + countText(m_counts[0]) + " (decoder " + countText(m_counts[1]) +
           "), delayed " + countText(m_counts[2]);
}

} // namespace korvel
