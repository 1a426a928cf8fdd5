#pragma once

#include "command/MenuEntry.h"
#include "engine/MediaTrack.h"
#include "playback/PlaybackState.h"

namespace korvel {

// The player's menu, opened on any of its windows: what it holds at the moment it opens,
// built afresh from what the player publishes each time, so that its checks never lag. Each
// entry maps to one of the player's verbs. The texts are in the user's language.
class PlayerMenu {
public:
    // What the menu shows besides the playback state.
    struct Input {
        PlaybackState state;
        // The open clip's tracks as the engine reports them.
        MediaTracks tracks;
    };

    static MenuEntries entries(const Input& input);
    // Another submenu (the skins, say) before the toggles.
    static MenuEntries entries(const Input& input, const MenuEntry& extra);

    // The skins to choose from: the built-in one (the empty name), then `names`; `current`
    // checked. Choosing one gives it to both windows (Verb::Skin).
    static MenuEntry skins(const QStringList& names, const QString& current);

    // The text of a track: its number, then its language and title where the clip gives them.
    static QString trackText(const MediaTrack& track);

private:
    static MenuEntry audioTracks(const MediaTracks& tracks);
    static MenuEntry subtitles(const MediaTracks& tracks);
};

} // namespace korvel
