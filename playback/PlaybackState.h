#pragma once

#include <QString>

#include <cstdint>

namespace korvel {

// What the player shows of its playback at one moment, as plain values: the clip as the
// engine has it and its title as the user sees it, the engine's state code
// (MediaControl::State), whether the clip came from the list and the list's current row, the
// position as the panel shows it and the clip's length, the volume and mute, the picture size
// (0..100, 20 the clip's own), whether the window keeps its size (FIX) and stays above the
// others (TOP), the list's LOOP and SHUFFLE, and whether the panel's next and previous would
// start an entry. `panel` is what the panel's displays show, which follow their own moments.
struct PlaybackState {
    // The picture size at which a clip shows at its own size; the player starts with it.
    static constexpr int NaturalSize = 20;
    // The volume the player starts with, 0..100.
    static constexpr int FirstVolume = 50;

    // The panel's displays as the player has always set them: the title and the entry number
    // at each engine state change, which also puts the position slider back to 0; the times
    // and the position slider at each position report. `titled` and `reported` tell that
    // the first of those moments came.
    struct PanelReadout {
        bool titled = false;
        QString title;
        // The list's current row of `entries` in list mode; outside it no number is shown.
        bool numbered = false;
        int entry = 0;
        int entries = 0;
        bool reported = false;
        std::int64_t positionMs = 0;
        // The end of the last report that knew one (a live stream knows none).
        std::int64_t endMs = 0;
        // 0..100, the position's share of that end; past an End mark it wraps.
        int positionSlider = 0;

        bool operator==(const PanelReadout&) const = default;
    };

    QString source;
    QString title;
    int engineState = 0;
    bool listMode = false;
    int listRow = 0;
    std::int64_t positionMs = 0;
    std::int64_t lengthMs = 0;
    int volume = FirstVolume;
    bool mute = false;
    int size = NaturalSize;
    bool fix = false;
    bool top = false;
    bool loop = false;
    bool shuffle = false;
    bool canGoNext = false;
    bool canGoPrevious = false;
    PanelReadout panel;

    bool operator==(const PlaybackState&) const = default;
};

} // namespace korvel
