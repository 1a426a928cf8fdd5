#pragma once

#include <QByteArray>

#include <array>
#include <cstdint>

struct mpv_handle;

namespace korvel {

// The frames the engine dropped (in the decoder or at the output) and delayed while a clip
// played, told in the engine log once the clip has come to its end or left: the figures a
// benchmark compares between players. Counted only while the engine log is on.
class FrameCounts {
public:
    // Asks the engine for the counts, as the observed properties `firstId` and the two after.
    void observe(mpv_handle* mpv, std::uint64_t firstId);
    // A change of an observed property; false when `id` is none of the counts. A count the
    // engine no longer knows (the clip has gone) keeps its last value.
    bool take(std::uint64_t id, bool available, double value);
    // A new clip, not told yet.
    void startClip();
    // Logs the clip's counts, once a clip.
    void endClip();
    // "dropped D (decoder E), delayed F"; "unknown" for a count the engine never gave.
    QByteArray text() const;

private:
    std::uint64_t m_firstId = 0;
    bool m_observed = false;
    bool m_told = false;
    // Output drops, decoder drops, delayed frames; -1 until the engine gives one.
    std::array<std::int64_t, 3> m_counts{-1, -1, -1};
};

} // namespace korvel
