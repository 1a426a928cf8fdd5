#pragma once

#include <QString>

namespace korvel {

// What the player's verbs do to the program's windows beyond playback. The program's wiring
// provides it; no door reaches a window but through it.
class DeskWindows {
public:
    virtual ~DeskWindows() = default;
    // Closes the playback window, which ends the program.
    virtual void closePlayer() = 0;
    // Takes every window of the program off the screen; restoring any brings them all back.
    virtual void minimizeAll() = 0;
    virtual void hidePanel() = 0;
    virtual void showPlayList() = 0;
    // The playback window and the panel to the front, also from a minimize.
    virtual void raise() = 0;
    // Both skinned windows take the skin of this name (empty: the built-in one) at once, or,
    // when it cannot be loaded, keep the one they have; the choice is kept for the next start.
    virtual void applySkin(const QString& name) = 0;
};

} // namespace korvel
