#pragma once

#include "command/PlayerCommand.h"
#include "playback/PlaybackState.h"

namespace korvel {

// What a door of the player gives its commands to. Runs on the user-interface thread; a
// failure is a KorvelError that ends the command, for the door to show or to answer with.
// The command may let pending events run, so other commands can run nested in it.
class CommandTaker {
public:
    virtual ~CommandTaker() = default;
    virtual void run(const PlayerCommand& command) = 0;
    // What the player shows now, for a door that shows it too or acts on a difference.
    virtual PlaybackState state() const = 0;
};

} // namespace korvel
