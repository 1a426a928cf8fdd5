#include "mpris/MprisAnnouncer.h"

#include "mpris/MprisValues.h"
#include "playback/Playback.h"

#include <cstdlib>

namespace korvel {

MprisAnnouncer::MprisAnnouncer(const Playback& playback, QObject* parent)
    : QObject(parent), m_playback(playback) {
    connect(&playback.notices(), &PlaybackNotices::changed, this, &MprisAnnouncer::heardChange);
    connect(&playback.notices(), &PlaybackNotices::seeked, this, &MprisAnnouncer::heardSeek);
}

void MprisAnnouncer::heardChange(const PlaybackState& before, const PlaybackState& now) {
    const QVariantMap changed = MprisValues::changedProperties(MprisValues::snapshotOf(before),
                                                               MprisValues::snapshotOf(now));
    if (!changed.isEmpty()) emit propertiesChanged(changed);
}

// A resume where the clip paused seeks to where it stands: no jump to tell.
void MprisAnnouncer::heardSeek(std::int64_t fromMs, std::int64_t toMs) {
    if (std::abs(toMs - fromMs) <= MprisValues::JumpToleranceMs) return;
    const std::int64_t shown = MprisValues::shownPosition(toMs, m_playback.state().lengthMs);
    emit seeked(qlonglong(MprisValues::toMicroseconds(shown)));
}

} // namespace korvel
