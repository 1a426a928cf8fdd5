#pragma once

#include <QString>

#include <cstdint>
#include <utility>

namespace korvel {

// The player's verbs: what every way in (the panel's buttons, sliders and keys, the list's OK,
// the desktop bus, a second start, a drop) asks of the player. Each door maps its own events
// to these; PlayerCommands runs them. The order is the table's order in PlayerCommands.cpp.
enum class Verb {
    Play,       // play on from the position last known (after a pause or a stop too)
    Pause,      //
    Stop,       //
    SeekBy,     // number: a step in ms from the position shown, once
    Scan,       // number: a step in ms, repeated every half second until play, pause or stop
    SeekTo,     // number: a position in ms
    SeekShare,  // number: a share 0..100 of the clip's length
    Next,       //
    Previous,   //
    MarkStart,  // the position shown becomes the current list entry's Start
    MarkEnd,    // ... its End
    Volume,     // number: 0..100
    Mute,       // flag
    Size,       // number: the picture size 0..100, 20 the natural size
    StepSize,   // number: -1 one step smaller, +1 one step larger
    FullScreen, //
    Top,        // flag: the playback window above all others
    Fix,        // flag: the playback window keeps its size
    Loop,       // flag: the list starts again after its last entry
    Shuffle,    // flag: the list plays its entries at random
    Open,       // text: a clip or another player's list, by location
    PlayList,   // the list from the top, as its OK
    ShowList,   //
    HidePanel,  //
    Minimize,   // every window of the player
    Raise,      // the playback window and the panel to the front
    Quit,       // closes the playback window, which ends the program
    // number: the clip's sound track to play, 1 upward
    AudioTrack,
    // number: the clip's subtitle track to show, 0 for none
    SubtitleTrack,
    // text: a subtitle file to show with the clip
    LoadSubtitles,
    // text: a clip or another player's list joins the playlist after what it holds; number
    // (a flag) 1: it then plays from its first new entry.
    Add,
    // text: the skin of both windows by its name, the empty text the built-in one; the last
    // verb
    Skin,
};

// One verb with its argument. Which argument a verb takes, and its range, is the verb table's
// (PlayerCommands::argumentOf); the others are left at their defaults.
struct PlayerCommand {
    // Not explicit: a verb alone, or with its argument in braces, is a command.
    PlayerCommand(Verb what = Verb::Play, std::int64_t argument = 0, QString location = QString())
        : verb(what), number(argument), text(std::move(location)) {}

    Verb verb = Verb::Play;
    std::int64_t number = 0;
    QString text;

    bool operator==(const PlayerCommand&) const = default;
};

} // namespace korvel
