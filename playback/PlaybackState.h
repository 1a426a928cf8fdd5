#pragma once

#include <QString>

#include <cstdint>

namespace korvel {

// What the player shows of its playback at one moment, as plain values: the clip as the
// engine has it and its title as the user sees it, the engine's state code
// (MediaControl::State), whether the clip came from the list and the list's current row, the
// position as the panel shows it and the clip's length, the panel's volume slider and mute,
// the list's LOOP and SHUFFLE, and whether the panel's next and previous would start an entry.
struct PlaybackState {
    QString source;
    QString title;
    int engineState = 0;
    bool listMode = false;
    int listRow = 0;
    std::int64_t positionMs = 0;
    std::int64_t lengthMs = 0;
    int volume = 0;
    bool mute = false;
    bool loop = false;
    bool shuffle = false;
    bool canGoNext = false;
    bool canGoPrevious = false;

    bool operator==(const PlaybackState&) const = default;
};

} // namespace korvel
