#pragma once

#include "playback/PlaybackState.h"

#include <QObject>

#include <cstdint>

namespace korvel {

// The change notices of the playback state, for any number of listeners. Raised on the GUI
// thread, from inside the handler or command that made the change, once per change.
class PlaybackNotices : public QObject {
    Q_OBJECT

signals:
    // The state differs from the one told last (`before`); `now` is the new one.
    void changed(const korvel::PlaybackState& before, const korvel::PlaybackState& now);
    // A seek the player asked for completed on the clip it was asked for: the position
    // went from `fromMs` (as shown when it was asked) to `toMs`. A clip's start at its Start
    // mark is no seek.
    void seeked(std::int64_t fromMs, std::int64_t toMs);
};

} // namespace korvel
