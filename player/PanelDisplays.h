#pragma once

#include "playback/PlaybackState.h"

namespace korvel {

class SkinElements;

// The player panel's displays and sliders showing the playback state: told of each change,
// it writes what the change brought (the readout the playback keeps for the panel, the
// volume, mute, the picture size, FIX, TOP). A position slider the user is dragging is left where
// the pointer holds it.
class PanelDisplays {
public:
    explicit PanelDisplays(SkinElements& panel) : m_panel(panel) {}

    void show(const PlaybackState& before, const PlaybackState& now);

    // "No. 3/12    " in list mode, else "No. --/--  ".
    static QString entryNumberText(const PlaybackState::PanelReadout& readout);

private:
    SkinElements& m_panel;
};

} // namespace korvel
